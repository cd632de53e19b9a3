# gnuplot's data for the picture, from memspec's printed table and the value
# table, written in the working directory:
#   awk -f tools/table.awk -f tools/picture.awk memspec.out values.txt
# The values' hex digits are passed on as text for gnuplot to read: awks
# differ in whether they read them.
FNR == NR && lag { print row - 1, $NF > "auto.dat" }
FNR == NR && row && $2 > 0 { print $1, $2 > "printed.dat" }
FNR != NR { split($1, k, /[][]/); v[k[1], k[2]] = $2; n[k[1]] = k[2] }
END {
    for (i = 1; i <= n["f"]; i++) print v["f", i], v["spec", i] > "spectrum.dat"
    for (i = 1; i <= n["fpe"]; i++) print i - 1, v["fpe", i] > "fpe.dat"
    for (i = 1; i <= n["period"]; i++) print v["period", i] > "tones.dat"
}
