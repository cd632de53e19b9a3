# The printed table's part of the picture's data, after tools/table.awk:
#   awk -f tools/table.awk -f tools/picture.awk memspec.out
# "peak F S" for each row whose spectrum prints above 0.000, and "lag L C"
# for each autocorrelation, as printed.
row && $2 > 0 { print "peak", $1, $2 }
lag { print "lag", row - 1, $NF }
