# The peer zentri is measured against: what an engineer without zentri would
# run on the same record. pandas reads the two columns with its C engine,
# scipy.signal.welch averages 50 % overlapped Hanning segments of 1024 samples
# with the mean removed, and the one-sided PSD (acceleration in G converted
# to m/s^2) is written as two columns of text. The seconds spent from reading
# to writing, without starting Python and importing the libraries, go to
# standard error.
#
# usage: python3 bench/peer_welch.py RECORD OUTPUT
import sys
import time

import numpy as np
import pandas as pd
import scipy.signal


def main(record, output):
    start = time.perf_counter()
    pairs = pd.read_csv(record, delim_whitespace=True, header=None, engine="c", dtype=np.float64)
    times = pairs[0].to_numpy()
    amplitude = pairs[1].to_numpy() * 9.81
    rate = (len(times) - 1) / (times[-1] - times[0])
    freq, psd = scipy.signal.welch(amplitude, fs=rate, window="hann", nperseg=1024,
                                   noverlap=512, detrend="constant", scaling="density")
    np.savetxt(output, np.column_stack([freq, psd]), fmt="%10.4e")
    print(f"{time.perf_counter() - start:.3f}", file=sys.stderr)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
