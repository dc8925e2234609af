// The shock response spectrum's files of a set, beside its other files, in the
// result files' number format ("%10.4e", each followed by a blank):
//   A_G.srs, A_ms2.srs    fn, maximax, positive, negative, primary, residual (G, m/sec^2)
//   V_ips.pvss, V_ms.pvss fn, pseudo-velocity (in/sec, m/sec)
//   A_G.srs.chk           fn, requirement, inner lower and upper limits, maximax (G),
//                         then the deviation in dB as "%7.2f" (with --srs-profile)
// Each is staged like the set's own files and listed in the set with what the
// table of reading files says it holds.
#pragma once

#include "output/result_outcome.h"

// Stages the spectrum's files of the set into its folder.
void stage_srs_files(channel_outcome& set, const result_request& request, const srs_outcome& srs);
