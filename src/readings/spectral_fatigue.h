// Fatigue damage estimated from a PSD: the spectral moments, the narrow-band
// (Rayleigh) damage and Dirlik's damage, for an S-N curve N S^b = c on the
// cycles' amplitude S, and the lives they give.
#pragma once

#include "readings/psd_view.h"

#include <string>

// The S-N curve N S^exponent = constant, S the cycle's amplitude (half its range).
struct sn_curve {
    double exponent; // b, above 0
    double constant; // c, above 0 (1 gives a relative damage)
};

// The PSD's spectral moments m_n = sum f^n G(f) df over lines 1..bins-1 (f in Hz).
struct spectral_moments {
    double m0; // the quantity's first unit squared
    double m1; // times Hz
    double m2; // times Hz^2
    double m4; // times Hz^4
};

// Damage and life by the spectral methods, or the usage fault.
struct spectral_fatigue {
    std::string error;        // "" when computed, else what is wrong
    spectral_moments moments; // of the PSD in its first unit
    double narrowband_damage; // Rayleigh amplitudes at the mean up-crossing rate
    double dirlik_damage;     // Dirlik's range distribution at the peak rate
    double narrowband_life;   // duration over narrowband_damage, sec (inf for no damage)
    double dirlik_life;       // duration over dirlik_damage, sec (inf for no damage)
};

// The fault of an S-N curve or duration not above 0, "" when sound.
std::string fatigue_usage_error(const sn_curve& sn, double duration);

// The PSD's moments in its first unit (view.english).
spectral_moments psd_moments(const psd_view& view);

// ln of the narrow-band damage of a Gaussian response of mean square m0 and
// second moment m2 over duration sec with c = 1: ln(nu T (sqrt(2 m0))^b Gamma(1 + b/2)),
// nu = sqrt(m2/m0) its up-crossing rate; -inf for a zero response.
double log_narrow_band_damage(double m0, double m2, double exponent, double duration);

// The narrow-band damage over duration sec.
double narrow_band_damage(const spectral_moments& m, const sn_curve& sn, double duration);

// Dirlik's damage over duration sec, from m0, m1, m2 and m4 in closed form.
double dirlik_damage(const spectral_moments& m, const sn_curve& sn, double duration);

// Duration over damage: the time to failure, inf when there is no damage.
double fatigue_life(double duration, double damage);

// The narrow-band and Dirlik damages and lives of the PSD over duration sec.
spectral_fatigue psd_fatigue(const psd_view& view, const sn_curve& sn, double duration);
