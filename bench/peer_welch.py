# The peer zentri is measured against: what an engineer without zentri would
# run on the same record. pandas reads the two columns of a text record with
# its C engine, or scipy.io.wavfile reads a WAV record (RECORD ending in .wav);
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
import scipy.signal


def read_text(record):
    """The amplitudes and the sample rate of a text record of time and amplitude pairs."""
    import pandas as pd
    pairs = pd.read_csv(record, delim_whitespace=True, header=None, engine="c", dtype=np.float64)
    times = pairs[0].to_numpy()
    return pairs[1].to_numpy(), (len(times) - 1) / (times[-1] - times[0])


def read_wav(record):
    """The samples and the sample rate of a one-channel WAV record."""
    import warnings
    import scipy.io.wavfile
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")  # the PEAK chunk libsndfile writes is not understood
        rate, samples = scipy.io.wavfile.read(record)
    return samples, float(rate)


def main(record, output):
    read = read_wav if record.endswith(".wav") else read_text
    start = time.perf_counter()
    amplitude, rate = read(record)
    amplitude = amplitude * 9.81
    freq, psd = scipy.signal.welch(amplitude, fs=rate, window="hann", nperseg=1024,
                                   noverlap=512, detrend="constant", scaling="density")
    np.savetxt(output, np.column_stack([freq, psd]), fmt="%10.4e")
    print(f"{time.perf_counter() - start:.3f}", file=sys.stderr)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
