# memspec's printed table, read in one place for the picture and the tests.
# Put it before a program of your own: awk -f tools/table.awk -f PROGRAM FILE.
# For each line it sets
#   row   0 outside the table and on its header, then 1, 2, ...: row i holds
#         frequency $1 and spectrum $2 at frequency point i
#   fpe   whether the row has a final prediction error ($3, of order row - 1)
#   lag   whether it has an autocorrelation ($NF, at lag row - 1)
{
    row = table ? row + 1 : 0
    fpe = row > 0 && NF == 4
    lag = row > 0 && NF >= 3
}
/^ frec/ { table = 1 }
