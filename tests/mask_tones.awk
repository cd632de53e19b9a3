# memspec's output with the spectrum of each peak row (tools/table.awk) made
# "#": those heights belong to the math library's sine and cosine. Rows are
# found by their fields, so a value wider than its column changes nothing.
# With -v heights=1, only those heights, one a line.
# usage: awk -f tools/table.awk -f tests/mask_tones.awk [-v heights=1] FILE
heights { if (peak) print $2; next }
peak { $2 = "#" }
{ print }
