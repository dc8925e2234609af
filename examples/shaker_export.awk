# A shaker export for trying --reference: 100000 lines at 2048 samples/s of
# time and three channels in G. Control is white noise of 1 G rms; Response is
# that noise through a single-degree-of-freedom transmissibility of 120 Hz and
# 5 % damping (Q about 10), made digital by the bilinear transform with the
# natural frequency kept; Unrelated is noise of its own.
#
#   awk -f examples/shaker_export.awk > shaker.csv
function gauss() { return sqrt(-2 * log(1 - rand())) * cos(2 * pi * rand()) }
BEGIN {
    srand(7); sr = 2048; pi = atan2(0, -1); wn = 2 * pi * 120; zeta = 0.05
    k = wn * cos(wn / (2 * sr)) / sin(wn / (2 * sr)); c = 2 * zeta * wn * k; w2 = wn * wn
    b0 = c + w2; b1 = 2 * w2; b2 = w2 - c
    a0 = k * k + c + w2; a1 = 2 * w2 - 2 * k * k; a2 = k * k - c + w2
    print "Time,Control,Response,Unrelated"
    for (i = 0; i < 100000; i++) {
        x = gauss(); y = (b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0
        x2 = x1; x1 = x; y2 = y1; y1 = y
        printf "%.6f,%.5f,%.5f,%.5f\n", i / sr, x, y, gauss()
    }
}
