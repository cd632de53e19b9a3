# memspec's output with the spectrum of each peak row made "#": the tones at
# 4, 64 and 65 cycles per unit and their images at 240 - f, whose heights
# belong to the math library's sine and cosine. Rows are found by their
# frequency, so a value wider than its column changes nothing. With
# -v heights=1, only those heights, one a line.
# usage: awk -f tools/table.awk -f tests/mask_tones.awk [-v heights=1] FILE
BEGIN { split("4 64 65 175 176 236", t); for (k in t) is_peak[t[k]] = 1 }
{ peak = row > 0 && (($1 + 0) "") in is_peak }
heights { if (peak) print $2; next }
peak { $2 = "#" }
{ print }
