# memspec's table, read in one place for the mask, the tests and the plot.
# Put it before a program of your own: awk -f tools/table.awk -f PROGRAM FILE.
# For each line it sets
#   row   0 outside the table and on its header, then 1, 2, ...: row i holds
#         frequency $1 and spectrum $2 at frequency point i
#   fpe   whether the row has a final prediction error ($3, of order row - 1)
#   lag   whether it has an autocorrelation ($NF, at lag row - 1)
#   peak  whether its frequency is one of PEAKS: the tones at 4, 64 and 65
#         cycles per unit and their images at 240 - f, whose spectrum hangs
#         on the last bit of sin and cos
BEGIN {
    PEAKS = "4 64 65 175 176 236"
    n = split(PEAKS, t)
    for (k = 1; k <= n; k++)
        is_peak[t[k]] = 1
}
{
    row = table ? row + 1 : 0
    peak = row > 0 && (($1 + 0) "") in is_peak
    fpe = row > 0 && NF == 4
    lag = row > 0 && NF >= 3
}
/^ frec/ { table = 1 }
