# The peer the shock response spectrum is measured against: what an engineer
# without zentri would run. The record (raw 32-bit floats at 40 kHz) through
# scipy.signal.lfilter with the ramp-invariant coefficients of the absolute
# acceleration, once per natural frequency (120, 1/12 octave, 10 Hz to 10 kHz,
# Q 10), the peaks with numpy's max and min. The processor seconds and the
# elapsed seconds of the spectrum alone and the largest maximax go to standard
# output (on a shared machine the processor seconds are the peer's own time).
#
# usage: python3 bench/peer_srs.py RECORD
import sys
import time

import numpy as np
import scipy.signal


def coefficients(fn, q, dt):
    """Ramp-invariant numerator and denominator of the absolute acceleration."""
    wn = 2 * np.pi * fn
    zeta = 1 / (2 * q)
    wd = wn * np.sqrt(1 - zeta ** 2)
    e = np.exp(-zeta * wn * dt)
    k = wd * dt
    c, s = e * np.cos(k), e * np.sin(k)
    sp = s / k
    return [1 - sp, 2 * (sp - c), e * e - sp], [1, -2 * c, e * e]


def main():
    x = np.fromfile(sys.argv[1], dtype=np.float32).astype(np.float64)
    start, cpu_start = time.perf_counter(), time.process_time()
    centres = 1000 * 10 ** (0.3 * (2 * np.arange(-40, 80) + 1) / 24)
    top = 0.0
    for fn in centres:
        b, a = coefficients(fn, 10.0, 1 / 40000.0)
        y = scipy.signal.lfilter(b, a, x)
        top = max(top, y.max(), -y.min())
    took, cpu = time.perf_counter() - start, time.process_time() - cpu_start
    print(f"{len(centres)} oscillators, largest maximax {top:.4f}: cpu {cpu:.3f} s, elapsed {took:.3f} s")


main()
