// The generator's table of quantities and units, and the look-ups of its words in it.
#include "quantities.h"

#include <cctype>
#include <cstdlib>

namespace {

const unit_info acceleration_units[] = {{"G", 1, 1.}, {"m/sec^2", 2, 1. / 9.81}};
const unit_info velocity_units[] = {{"in/sec", 1, 1.}, {"m/sec", 2, 1. / 0.0254}};
const unit_info displacement_units[] = {
    {"inch", 1, 1.},           {"mils", 2, 1e-3},
    {"micro-inches", 3, 1e-6}, {"meters", 4, 1. / 0.0254},
    {"mm", 5, 1e-3 / 0.0254},  {"microns", 6, 1e-6 / 0.0254},
};
const unit_info force_units[] = {{"lbf", 1, 1.}, {"N", 2, 1. / 4.448}};
const unit_info pressure_units[] = {{"psi", 1, 1.}, {"Pa", 2, 1. / 6897.}};
const unit_info volts_units[] = {{"V", 0, 1.}};

const quantity_info quantities[] = {
    {"acceleration", acceleration_units, 2, 1}, {"velocity", velocity_units, 2, 2},
    {"displacement", displacement_units, 6, 3}, {"force", force_units, 2, 4},
    {"pressure", pressure_units, 2, 5},         {"volts", volts_units, 1, 6},
};

// Compares two words ignoring letter case.
bool same_word(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

// Reads a whole word as a menu code; -1 when it is not a plain number.
int menu_code(const std::string& word)
{
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    return (word.empty() || *end != '\0' || v < 0 || v > 99) ? -1 : static_cast<int>(v);
}

} // namespace

const quantity_info* find_quantity(const std::string& word)
{
    for (const quantity_info& q : quantities) {
        if (same_word(word, q.name) || menu_code(word) == q.code) return &q;
    }
    return nullptr;
}

const unit_info* find_unit(const quantity_info& q, const std::string& word)
{
    for (int i = 0; i < q.unit_count; ++i) {
        const unit_info& u = q.units[i];
        if (same_word(word, u.name) || (u.code > 0 && menu_code(word) == u.code)) return &u;
    }
    return nullptr;
}

const unit_info& english_unit(const quantity_info& q)
{
    return q.units[0];
}
