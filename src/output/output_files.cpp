#include "output/output.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"

#include <cstring>

namespace {

// One output file: its name and its line in the announcement.
struct output_file {
    const char* name;
    const char* line;
};

// The title and the files of one quantity, in slot order from slot 2.
struct file_set {
    const char* title;
    int count;
    output_file files[14];
};

const file_set file_sets[6] = {
    {"\n\n Acceleration Output Files \n",
     6,
     {{"A_G2Hz.psd", "\n A_G2Hz.psd    -  freq(Hz) PSD( G^2/Hz)"},
      {"A_ms22Hz.psd", "\n A_ms22Hz.psd  -  freq(Hz) PSD( (m/sec^2)^2/Hz) \n"},
      {"A_Grms.mag", "\n A_Grms.mag    -  freq(Hz) magnitude(G RMS)"},
      {"A_ms2rms.mag", "\n A_ms2rms.mag  -  freq(Hz) magnitude((m/sec^2) RMS) \n"},
      {"A_Gpk.mag", "\n A_Gpk.mag     -  freq(Hz) magnitude(G peak)"},
      {"A_ms2_pk.mag", "\n A_ms2_pk.mag  -  freq(Hz) magnitude((m/sec^2) peak)"}}},
    {"\n\n Velocity Output Files \n",
     6,
     {{"V_ips2Hz.psd", "\n  V_ips2Hz.psd  -  freq(Hz) PSD( ips^2/Hz)"},
      {"V_ms2Hz.psd", "\n  V_ms2Hz.psd   -  freq(Hz) PSD( (m/sec)^2/Hz) \n"},
      {"V_ipsrms.mag", "\n  V_ipsrms.mag  -  freq(Hz) magnitude(ips RMS)"},
      {"V_ms_rms.mag", "\n  V_ms_rms.mag  -  freq(Hz) magnitude((m/sec) RMS) \n"},
      {"V_ips_pk.mag", "\n  V_ips_pk.mag  -  freq(Hz) magnitude(ips peak)"},
      {"V_ms_pk.mag", "\n  V_ms_pk.mag   -  freq(Hz) magnitude((m/sec) peak)"}}},
    {"\n\n Displacement Output Files \n",
     14,
     {{"D_in2Hz.psd", "\n D_in2Hz.psd  -  freq(Hz) PSD( inch^2/Hz)"},
      {"D_m2Hz.psd", "\n D_m2Hz.psd   -  freq(Hz) PSD( meters^2/Hz) \n"},
      {"D_in_rms.mag", "\n D_in_rms.mag -  freq(Hz) magnitude( inch   RMS)"},
      {"Dmin_rms.mag", "\n Dmin_rms.mag -  freq(Hz) magnitude( micro inch   RMS)"},
      {"D_m_rms.mag", "\n D_m_rms.mag  -  freq(Hz) magnitude( meter  RMS)"},
      {"Dmic_rms.mag", "\n Dmic_rms.mag -  freq(Hz) magnitude( micron RMS) \n"},
      {"D_in_ztp.mag", "\n D_in_ztp.mag -  freq(Hz) magnitude( inch   zero-peak)"},
      {"Dmin_ztp.mag", "\n Dmin_ztp.mag -  freq(Hz) magnitude( micro inch   zero-peak)"},
      {"D_m_ztp.mag", "\n D_m_ztp.mag  -  freq(Hz) magnitude( meter  zero-peak)"},
      {"Dmic_ztp.mag", "\n Dmic_ztp.mag -  freq(Hz) magnitude( micron zero-peak) \n"},
      {"D_in_ptp.mag", "\n D_in_ptp.mag -  freq(Hz) magnitude( inch   peak-peak)"},
      {"Dmin_ptp.mag", "\n Dmin_ptp.mag -  freq(Hz) magnitude( micro inch   peak-peak)"},
      {"D_m_ptp.mag", "\n D_m_ptp.mag  -  freq(Hz) magnitude( meter  peak-peak)"},
      {"Dmic_ptp.mag", "\n Dmic_ptp.mag -  freq(Hz) magnitude( micron peak-peak) \n"}}},
    {"\n\n Force Output Files \n",
     6,
     {{"F_lbf2_Hz.psd", "\n  F_lbf2_Hz.psd -  freq(Hz) PSD( lbf^2/Hz)"},
      {"F_N2_Hz.psd", "\n  F_N2_Hz.psd   -  freq(Hz) PSD( N^2/Hz) \n"},
      {"F_lbfrms.mag", "\n  F_lbfrms.mag -  freq(Hz) magnitude(lbf RMS)"},
      {"F_Nrms.mag", "\n  F_Nrms.mag   -  freq(Hz) magnitude(N RMS) \n"},
      {"F_lbf_pk.mag", "\n  F_lbf_pk.mag -  freq(Hz) magnitude(lbf peak)"},
      {"F_N_pk.mag", "\n  F_N_pk.mag   -  freq(Hz) magnitude(N peak)"}}},
    {"\n\n Pressure Output Files \n",
     6,
     {{"P_psi2_Hz.psd", "\n  P_psi2_Hz.psd -  freq(Hz) PSD( psi^2/Hz)"},
      {"P_Pa2_Hz.psd", "\n  P_Pa2_Hz.psd  -  freq(Hz) PSD( Pa^2/Hz) \n"},
      {"P_psirms.mag", "\n  P_psirms.mag -  freq(Hz) magnitude(psi RMS)"},
      {"P_Parms.mag", "\n  P_Parms.mag  -  freq(Hz) magnitude(Pa RMS) \n"},
      {"P_psi_pk.mag", "\n  P_psi_pk.mag -  freq(Hz) magnitude(psi peak)"},
      {"P_Pa_pk.mag", "\n  P_Pa_pk.mag  -  freq(Hz) magnitude(Pa peak)"}}},
    {"\n\n Voltage Output Files \n", 1, {{"V2_Hz.psd", "\n  V2_Hz.psd -  freq(Hz) PSD( V^2/Hz)"}}},
};

// The file set of the run's quantity.
const file_set& run_file_set()
{
    return file_sets[st.input_type - 1];
}

} // namespace

int last_slot()
{
    return 1 + run_file_set().count;
}

void name_output_files()
{
    const file_set& set = run_file_set();
    for (int i = 0; i < set.count; ++i) std::strcpy(st.fname[2 + i], set.files[i].name);
    zprint("%s", set.title);
    for (int i = 0; i < set.count; ++i) zprint("%s", set.files[i].line);
}

void create_output_files()
{
    name_output_files();
    for (int slot = 2; slot <= last_slot(); ++slot) {
        st.fp[slot] = std::fopen(st.fname[slot], "w");
        if (st.fp[slot] == nullptr) zprint(" Failed to open file: %s \n", st.fname[slot]);
    }
}

void output_stage()
{
    create_output_files();
    write_spectra();
}
