// The table of result files per quantity, and the labels derived from it.
#include "output/file_sets.h"
#include "core/quantities.h"

#include <string>

namespace {

const file_set file_sets[volts] = {
    {"\n\n Acceleration Output Files \n",
     1,
     6,
     {{"A_G2Hz.psd", "\n A_G2Hz.psd    -  freq(Hz) PSD( G^2/Hz)", file_content::psd, 1},
      {"A_ms22Hz.psd", "\n A_ms22Hz.psd  -  freq(Hz) PSD( (m/sec^2)^2/Hz) \n", file_content::psd,
       2},
      {"A_Grms.mag", "\n A_Grms.mag    -  freq(Hz) magnitude(G RMS)", file_content::rms, 1},
      {"A_ms2rms.mag", "\n A_ms2rms.mag  -  freq(Hz) magnitude((m/sec^2) RMS) \n",
       file_content::rms, 2},
      {"A_Gpk.mag", "\n A_Gpk.mag     -  freq(Hz) magnitude(G peak)", file_content::peak, 1},
      {"A_ms2_pk.mag", "\n A_ms2_pk.mag  -  freq(Hz) magnitude((m/sec^2) peak)", file_content::peak,
       2}}},
    {"\n\n Velocity Output Files \n",
     2,
     6,
     {{"V_ips2Hz.psd", "\n  V_ips2Hz.psd  -  freq(Hz) PSD( ips^2/Hz)", file_content::psd, 1},
      {"V_ms2Hz.psd", "\n  V_ms2Hz.psd   -  freq(Hz) PSD( (m/sec)^2/Hz) \n", file_content::psd, 2},
      {"V_ipsrms.mag", "\n  V_ipsrms.mag  -  freq(Hz) magnitude(ips RMS)", file_content::rms, 1},
      {"V_ms_rms.mag", "\n  V_ms_rms.mag  -  freq(Hz) magnitude((m/sec) RMS) \n", file_content::rms,
       2},
      {"V_ips_pk.mag", "\n  V_ips_pk.mag  -  freq(Hz) magnitude(ips peak)", file_content::peak, 1},
      {"V_ms_pk.mag", "\n  V_ms_pk.mag   -  freq(Hz) magnitude((m/sec) peak)", file_content::peak,
       2}}},
    {"\n\n Displacement Output Files \n",
     3,
     14,
     {{"D_in2Hz.psd", "\n D_in2Hz.psd  -  freq(Hz) PSD( inch^2/Hz)", file_content::psd, 1},
      {"D_m2Hz.psd", "\n D_m2Hz.psd   -  freq(Hz) PSD( meters^2/Hz) \n", file_content::psd, 4},
      {"D_in_rms.mag", "\n D_in_rms.mag -  freq(Hz) magnitude( inch   RMS)", file_content::rms, 1},
      {"Dmin_rms.mag", "\n Dmin_rms.mag -  freq(Hz) magnitude( micro inch   RMS)",
       file_content::rms, 3},
      {"D_m_rms.mag", "\n D_m_rms.mag  -  freq(Hz) magnitude( meter  RMS)", file_content::rms, 4},
      {"Dmic_rms.mag", "\n Dmic_rms.mag -  freq(Hz) magnitude( micron RMS) \n", file_content::rms,
       6},
      {"D_in_ztp.mag", "\n D_in_ztp.mag -  freq(Hz) magnitude( inch   zero-peak)",
       file_content::zero_peak, 1},
      {"Dmin_ztp.mag", "\n Dmin_ztp.mag -  freq(Hz) magnitude( micro inch   zero-peak)",
       file_content::zero_peak, 3},
      {"D_m_ztp.mag", "\n D_m_ztp.mag  -  freq(Hz) magnitude( meter  zero-peak)",
       file_content::zero_peak, 4},
      {"Dmic_ztp.mag", "\n Dmic_ztp.mag -  freq(Hz) magnitude( micron zero-peak) \n",
       file_content::zero_peak, 6},
      {"D_in_ptp.mag", "\n D_in_ptp.mag -  freq(Hz) magnitude( inch   peak-peak)",
       file_content::peak_peak, 1},
      {"Dmin_ptp.mag", "\n Dmin_ptp.mag -  freq(Hz) magnitude( micro inch   peak-peak)",
       file_content::peak_peak, 3},
      {"D_m_ptp.mag", "\n D_m_ptp.mag  -  freq(Hz) magnitude( meter  peak-peak)",
       file_content::peak_peak, 4},
      {"Dmic_ptp.mag", "\n Dmic_ptp.mag -  freq(Hz) magnitude( micron peak-peak) \n",
       file_content::peak_peak, 6}}},
    {"\n\n Force Output Files \n",
     4,
     6,
     {{"F_lbf2_Hz.psd", "\n  F_lbf2_Hz.psd -  freq(Hz) PSD( lbf^2/Hz)", file_content::psd, 1},
      {"F_N2_Hz.psd", "\n  F_N2_Hz.psd   -  freq(Hz) PSD( N^2/Hz) \n", file_content::psd, 2},
      {"F_lbfrms.mag", "\n  F_lbfrms.mag -  freq(Hz) magnitude(lbf RMS)", file_content::rms, 1},
      {"F_Nrms.mag", "\n  F_Nrms.mag   -  freq(Hz) magnitude(N RMS) \n", file_content::rms, 2},
      {"F_lbf_pk.mag", "\n  F_lbf_pk.mag -  freq(Hz) magnitude(lbf peak)", file_content::peak, 1},
      {"F_N_pk.mag", "\n  F_N_pk.mag   -  freq(Hz) magnitude(N peak)", file_content::peak, 2}}},
    {"\n\n Pressure Output Files \n",
     5,
     6,
     {{"P_psi2_Hz.psd", "\n  P_psi2_Hz.psd -  freq(Hz) PSD( psi^2/Hz)", file_content::psd, 1},
      {"P_Pa2_Hz.psd", "\n  P_Pa2_Hz.psd  -  freq(Hz) PSD( Pa^2/Hz) \n", file_content::psd, 2},
      {"P_psirms.mag", "\n  P_psirms.mag -  freq(Hz) magnitude(psi RMS)", file_content::rms, 1},
      {"P_Parms.mag", "\n  P_Parms.mag  -  freq(Hz) magnitude(Pa RMS) \n", file_content::rms, 2},
      {"P_psi_pk.mag", "\n  P_psi_pk.mag -  freq(Hz) magnitude(psi peak)", file_content::peak, 1},
      {"P_Pa_pk.mag", "\n  P_Pa_pk.mag  -  freq(Hz) magnitude(Pa peak)", file_content::peak, 2}}},
    {"\n\n Voltage Output Files \n",
     6,
     1,
     {{"V2_Hz.psd", "\n  V2_Hz.psd -  freq(Hz) PSD( V^2/Hz)", file_content::psd, 1}}},
};

// "G^2/Hz", or "(m/sec^2)^2/Hz" for a unit of more than one word or a quotient.
std::string squared_per_hz(const std::string& unit)
{
    const bool compound = unit.find_first_of("/ ") != std::string::npos;
    return (compound ? "(" + unit + ")" : unit) + "^2/Hz";
}

} // namespace

const file_set& file_set_of(int input_type)
{
    return file_sets[input_type - 1];
}

const char* content_name(file_content content)
{
    switch (content) {
    case file_content::psd: return "PSD";
    case file_content::rms: return "RMS magnitude";
    case file_content::peak: return "peak magnitude";
    case file_content::zero_peak: return "zero-peak magnitude";
    case file_content::peak_peak: return "peak-peak magnitude";
    }
    return "";
}

std::string file_unit(int input_type, const result_file& file)
{
    const std::string unit = unit_label(input_type, file.unit);
    return file.content == file_content::psd ? squared_per_hz(unit) : unit;
}

std::string plot_label(const result_file& file)
{
    // The announcement ends in "PSD( unit)" or "magnitude(unit kind)": the text
    // in the parentheses, its blanks run together, is what the file holds.
    const std::string line = file.announcement;
    const bool psd = file.content == file_content::psd;
    const std::size_t open = line.find(psd ? "PSD(" : "magnitude(");
    const std::size_t close = line.rfind(')');
    std::string inner;
    for (std::size_t i = line.find('(', open) + 1; i < close; ++i) {
        const char c = line[i];
        if (c == ' ' && (inner.empty() || inner.back() == ' ')) continue;
        if (!psd && (c == '(' || c == ')')) continue;
        inner += c;
    }
    while (!inner.empty() && inner.back() == ' ') inner.pop_back();
    return psd ? "PSD (" + inner + ")" : inner;
}
