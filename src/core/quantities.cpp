// The table of quantities and units, and its look-ups.
#include "core/quantities.h"

namespace {

constexpr double none = 0.; // no conversion: the unit is the SI unit

const quantity_row quantities[] = {
    {"acceleration",
     "\n 1=G  2=m/sec^2 \n",
     &analysis_state::g_per_ms2,
     2,
     2,
     {{"G", "", 9.81, true, false}, {"m/sec^2", "m/s^2|m/s2", none, false, false}}},
    {"velocity",
     "\n 1=in/sec  2=m/sec \n",
     &analysis_state::in_per_m,
     2,
     2,
     {{"in/sec", "ips|in/s", 0.0254, true, false}, {"m/sec", "m/s", none, false, false}}},
    {"displacement",
     "\n 1=inch  2=Mils   3=micro inches  4=meters   5=mm  6=microns \n",
     &analysis_state::in_per_m,
     4,
     6,
     {{"inch", "in", 0.0254, true, false},
      {"mils", "mil", 0.0254 / 1000., false, false},
      {"micro inch", "uin|microinch|micro inches", 0.0254 / 1000000., true, true},
      {"meters", "m|meter", none, false, false},
      {"mm", "", static_cast<float>(0.001), false, false},
      {"microns", "um|micron", static_cast<float>(1e-6), false, true}}},
    {"force",
     "\n 1=lbf  2=Newtons \n",
     &analysis_state::lbf_per_n,
     2,
     2,
     {{"lbf", "", 4.448, true, false}, {"N", "newton|newtons", none, false, false}}},
    {"pressure",
     "\n 1=psi  2=Pa \n",
     &analysis_state::psi_per_pa,
     2,
     2,
     {{"psi", "", 6897., true, false}, {"Pa", "pascal", none, false, false}}},
    {"volts", nullptr, nullptr, 1, 0, {{"V", "volts", none, false, false}}},
};

} // namespace

const quantity_row* quantity_of(int input_type)
{
    return input_type >= 1 && input_type <= volts ? &quantities[input_type - 1] : nullptr;
}

const char* quantity_name(int input_type)
{
    const quantity_row* q = quantity_of(input_type);
    return q != nullptr ? q->name : "";
}

const char* unit_label(int input_type, int input_unit)
{
    const unit_row* u = unit_of(input_type, input_unit);
    return u != nullptr ? u->label : "";
}

int unit_count(int input_type)
{
    const quantity_row* q = quantity_of(input_type);
    return q != nullptr ? q->unit_count : 0;
}

double si_factor(int input_type, int input_unit)
{
    const unit_row* u = unit_of(input_type, input_unit);
    return u != nullptr ? u->to_si : none;
}

double english_factor(int input_type)
{
    const quantity_row* q = quantity_of(input_type);
    return q != nullptr && q->english_factor != nullptr ? st.*(q->english_factor) : 1.;
}

const unit_row* unit_of(int input_type, int input_unit)
{
    const quantity_row* q = quantity_of(input_type);
    if (q == nullptr) return nullptr;
    if (input_type == volts) return &q->units[0];
    if (input_unit < 1 || input_unit > q->unit_count) return nullptr;
    return &q->units[input_unit - 1];
}
