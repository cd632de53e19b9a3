# The picture of one run, from the files tools/picture.py writes in the
# working directory, into memspec.png.new there; cr = 1 for a correctly
# rounded build:  gnuplot -e "cr = 1" tools/picture.gp
set terminal pngcairo size 1000,1150 font "sans,11"
set output "memspec.png.new"
stats "spectrum.dat" using 1:2 nooutput
freqs = STATS_records
fs = STATS_max_x
lo = 10 * floor(STATS_min_y / 10)
hi = 10 * ceil(STATS_max_y / 10) + 10
stats "fpe.dat" using 1 nooutput
order = STATS_max
stats "auto.dat" using 1 nooutput
lags = STATS_max
what = cr ? "correctly rounded sine and cosine: the same on every machine" \
          : "this machine's sine and cosine: the six peak heights vary between math libraries"
set multiplot layout 3,1 title "memspec: maximum-entropy analysis of four tones\n" . what font "sans,13"
set grid ytics

set title sprintf("Power spectrum of the order-%d filter at each of the %d frequencies evaluated", order, freqs)
set key outside bottom center horizontal maxrows 2 font "sans,10" samplen 3 width 2
set bmargin 6
set xlabel "frequency (cycles per time unit)" offset 0,0.4
set ylabel "spectral density (dB)"
set xrange [0:fs]
set xtics 0,20,fs
set yrange [lo:hi]
set arrow from fs / 2, lo to fs / 2, hi - 10 nohead dashtype 2 linecolor "gray30"
set label sprintf("%g: folding frequency ", fs / 2) at fs / 2, hi - 5 right font "sans,9"
tones = ""
images = ""
stats "tones.dat" using (tones = tones . sprintf(" %g", $1), images = images . sprintf(" %g", $2)) nooutput
plot "tones.dat" using 1:(lo):(0):(hi - 10 - lo) with vectors nohead dashtype 3 \
        linecolor "dark-red" title "tones f:" . tones, \
     "" using 2:(lo):(0):(hi - 10 - lo) with vectors nohead dashtype 4 \
        linecolor "dark-orange" title "images fs - f:" . images, \
     "spectrum.dat" using 1:2 with points pointtype 7 pointsize 0.35 linecolor "navy" \
        title "spectrum at each frequency evaluated", \
     "printed.dat" using 1:(10 * log10($2)) with points pointtype 6 pointsize 1.6 linecolor "navy" \
        title "the rows that print above 0.000"

unset arrow; unset label; unset key; unset bmargin
set title "Final prediction error against filter order (the table prints 0.000 from order 8)"
set xlabel "filter order" offset 0,0
set ylabel "FPE"
set logscale y
set format y "10^{%L}"
set xrange [-1:order + 1]
set xtics 0,2,order
set autoscale y
plot "fpe.dat" using 1:2 with linespoints pointtype 7 linecolor "dark-green"

unset logscale y
set format y "%g"
set autoscale y
set offsets 0, 0, graph 0.08, graph 0.04
set title "Autocorrelation against lag, as printed (lag 0: the mean square)"
set xlabel "lag (samples)"
set ylabel "autocorrelation"
set xrange [-1.5:lags + 1.5]
set xtics 0,5,lags
plot "auto.dat" using 1:2 with impulses linewidth 3 linecolor "purple", \
     "" using 1:2 with points pointtype 7 pointsize 0.6 linecolor "purple"
unset multiplot
