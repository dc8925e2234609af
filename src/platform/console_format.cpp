// zformat and its callers: printf conversions with exponents of at least three digits.
#include "platform/console_format.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <type_traits>

namespace {

// Output cursor that never writes past the end of the caller's buffer.
struct sink {
    char* out;
    std::size_t cap;
    std::size_t len;
};

// Appends n bytes, counting the ones that do not fit.
void put(sink& s, const char* text, std::size_t n)
{
    if (s.len + n < s.cap) {
        std::memcpy(s.out + s.len, text, n);
        s.len += n;
        return;
    }
    for (std::size_t i = 0; i < n; ++i, ++s.len)
        if (s.len + 1 < s.cap) s.out[s.len] = text[i];
}

// Appends n copies of one character.
void put_fill(sink& s, char c, int n)
{
    for (int i = 0; i < n; ++i) put(s, &c, 1);
}

// Widens a two-digit exponent (e+01) to three digits (e+001), in place.
std::size_t widen_exponent(char* text, std::size_t len)
{
    char* e = nullptr;
    for (std::size_t i = 0; i < len; ++i)
        if (text[i] == 'e' || text[i] == 'E') e = text + i;
    if (e == nullptr || (e[1] != '+' && e[1] != '-')) return len;
    const std::size_t digits = len - static_cast<std::size_t>(e + 2 - text);
    if (digits >= 3) return len;
    std::memmove(e + 3, e + 2, digits + 1);
    e[2] = '0';
    return len + 1;
}

// One parsed conversion: flags, width, precision, length and conversion letter.
struct spec_t {
    char flags[8]; // at most six flags, room for a '-' from a negative '*' width and the end
    int width;
    int precision; // -1 when not given
    int longs;     // number of 'l' modifiers
    char conv;
};

// Reads one "%..." conversion starting after the '%'; returns the next position.
const char* parse_spec(const char* p, spec_t& sp, va_list& ap)
{
    int nf = 0;
    while (std::strchr("-+ #0", *p) != nullptr && *p != '\0') {
        if (nf < 6) sp.flags[nf++] = *p;
        ++p;
    }
    sp.flags[nf] = '\0';
    sp.width = 0;
    if (*p == '*') {
        sp.width = va_arg(ap, int);
        ++p;
    }
    while (*p >= '0' && *p <= '9') sp.width = sp.width * 10 + (*p++ - '0');
    sp.precision = -1;
    if (*p == '.') {
        ++p;
        sp.precision = 0;
        if (*p == '*') {
            sp.precision = va_arg(ap, int);
            ++p;
        }
        while (*p >= '0' && *p <= '9') sp.precision = sp.precision * 10 + (*p++ - '0');
    }
    sp.longs = 0;
    while (*p == 'l' || *p == 'h' || *p == 'z') {
        if (*p == 'l') ++sp.longs;
        ++p;
    }
    sp.conv = *p;
    return *p ? p + 1 : p;
}

// Builds the printf format for one conversion, without its width.
void inner_format(const spec_t& sp, const char* length, char* f)
{
    std::snprintf(f, 32, "%%%s", sp.flags);
    std::size_t n = std::strlen(f);
    if (sp.precision >= 0)
        n += static_cast<std::size_t>(std::snprintf(f + n, 16, ".%d", sp.precision));
    std::snprintf(f + n, 8, "%s%c", length, sp.conv);
}

// True when the flags leave the text of a conversion as it is: '-' and '0'
// only decide how it is padded.
bool plain_flags(const spec_t& sp)
{
    return std::strpbrk(sp.flags, "+ #") == nullptr;
}

// Ends the text at end; returns its length.
int terminate(char* text, char* end)
{
    *end = '\0';
    return static_cast<int>(end - text);
}

// Renders an integer without snprintf when neither flags nor a precision
// change its digits; returns -1 when snprintf has to.
template <class Int>
int render_integer(const spec_t& sp, Int v, int base, char* text, std::size_t cap)
{
    if (!plain_flags(sp) || sp.precision >= 0 || sp.conv == 'X') return -1;
    const auto r = std::to_chars(text, text + cap - 1, v, base);
    return r.ec == std::errc() ? terminate(text, r.ptr) : -1;
}

// Renders an integer conversion, through snprintf when render_integer cannot.
template <class Int>
int render_whole(const spec_t& sp, Int v, int base, char* text, std::size_t cap)
{
    const int n = render_integer(sp, v, base, text, cap);
    if (n >= 0) return n;
    char f[64];
    inner_format(sp, "ll", f);
    using wide = std::conditional_t<std::is_signed_v<Int>, long long, unsigned long long>;
    return std::snprintf(text, cap, f, static_cast<wide>(v));
}

// Renders an e, f or g conversion with std::to_chars, which writes the same
// text as printf at the same precision (correctly rounded, "inf", "nan");
// returns -1 when snprintf has to (the flags '+', ' ' or '#').
int render_floating(const spec_t& sp, double v, char* text, std::size_t cap)
{
    if (!plain_flags(sp)) return -1;
    const char lower = static_cast<char>(sp.conv | 0x20);
    const auto format = lower == 'e'   ? std::chars_format::scientific
                        : lower == 'f' ? std::chars_format::fixed
                                       : std::chars_format::general;
    const auto r =
        std::to_chars(text, text + cap - 1, v, format, sp.precision < 0 ? 6 : sp.precision);
    if (r.ec != std::errc()) return -1;
    if (sp.conv != lower)
        for (char* c = text; c != r.ptr; ++c) *c = static_cast<char>(std::toupper(*c));
    return terminate(text, r.ptr);
}

// Renders one conversion into text (unpadded, flags and precision applied).
std::size_t render(const spec_t& sp, va_list& ap, char* text, std::size_t cap)
{
    char f[64];
    int n = 0;
    switch (sp.conv) {
    case 'd':
    case 'i':
        n = render_whole(sp, sp.longs ? va_arg(ap, long) : va_arg(ap, int), 10, text, cap);
        break;
    case 'u':
    case 'x':
    case 'X':
        n = render_whole(sp, sp.longs ? va_arg(ap, unsigned long) : va_arg(ap, unsigned),
                         sp.conv == 'u' ? 10 : 16, text, cap);
        break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G': {
        const double v = va_arg(ap, double);
        n = render_floating(sp, v, text, cap);
        if (n < 0) {
            inner_format(sp, "", f);
            n = std::snprintf(text, cap, f, v);
        }
        if (n > 0 && static_cast<std::size_t>(n) + 2 < cap && sp.conv != 'f' && sp.conv != 'F')
            n = static_cast<int>(widen_exponent(text, static_cast<std::size_t>(n)));
        break;
    }
    case 'c':
        text[0] = static_cast<char>(va_arg(ap, int));
        n = 1;
        break;
    default: break;
    }
    return n < 0 ? 0 : static_cast<std::size_t>(n);
}

// Appends text padded to the field width: blanks on the left, on the right with
// '-', or zeros after the sign with '0' (not for infinities and not-a-numbers).
void pad(sink& s, const spec_t& sp, const char* text, std::size_t len)
{
    const int fill = sp.width > static_cast<int>(len) ? sp.width - static_cast<int>(len) : 0;
    const bool left = std::strchr(sp.flags, '-') != nullptr;
    const bool zeros = !left && std::strchr(sp.flags, '0') != nullptr && sp.conv != 's' &&
                       sp.conv != 'c' && std::strpbrk(text, "infINF") == nullptr;
    if (left) {
        put(s, text, len);
        put_fill(s, ' ', fill);
    } else if (zeros) {
        const std::size_t sign = (len > 0 && std::strchr("+- ", text[0]) != nullptr) ? 1 : 0;
        put(s, text, sign);
        put_fill(s, '0', fill);
        put(s, text + sign, len - sign);
    } else {
        put_fill(s, ' ', fill);
        put(s, text, len);
    }
}

} // namespace

std::size_t zformat(char* out, std::size_t cap, const char* fmt, va_list ap_in)
{
    va_list ap;
    va_copy(ap, ap_in);
    sink s{out, cap, 0};
    for (const char* p = fmt; *p != '\0';) {
        if (*p != '%') {
            const char* q = std::strchr(p, '%');
            const std::size_t n = q ? static_cast<std::size_t>(q - p) : std::strlen(p);
            put(s, p, n);
            p += n;
            continue;
        }
        if (p[1] == '%') {
            put(s, "%", 1);
            p += 2;
            continue;
        }
        spec_t sp{};
        p = parse_spec(p + 1, sp, ap);
        if (sp.width < 0) {
            sp.width = -sp.width;
            std::strcat(sp.flags, "-");
        }
        if (sp.conv == 's') {
            const char* str = va_arg(ap, const char*);
            std::size_t len = std::strlen(str);
            if (sp.precision >= 0 && len > static_cast<std::size_t>(sp.precision))
                len = static_cast<std::size_t>(sp.precision);
            pad(s, sp, str, len);
            continue;
        }
        char text[512];
        const std::size_t len = render(sp, ap, text, sizeof text);
        pad(s, sp, text, len < sizeof text ? len : sizeof text - 1);
    }
    va_end(ap);
    if (cap > 0) out[s.len < cap ? s.len : cap - 1] = '\0';
    return s.len;
}

namespace {

// Formats into a stack buffer, falling back to the heap for very long texts.
bool write_formatted(std::FILE* f, const char* fmt, va_list ap)
{
    char buf[1024];
    va_list again;
    va_copy(again, ap);
    const std::size_t len = zformat(buf, sizeof buf, fmt, ap);
    bool ok;
    if (len < sizeof buf) {
        ok = std::fwrite(buf, 1, len, f) == len;
    } else {
        char* big = new char[len + 1];
        zformat(big, len + 1, fmt, again);
        ok = std::fwrite(big, 1, len, f) == len;
        delete[] big;
    }
    va_end(again);
    return ok;
}

} // namespace

console_state console{};

void set_console_muted(bool muted)
{
    console.muted = muted;
}

bool console_is_muted()
{
    return console.muted;
}

std::string widen_json_exponents(const std::string& json)
{
    std::string out;
    out.reserve(json.size() + 16);
    bool in_string = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        out += c;
        if (in_string) {
            if (c == '\\' && i + 1 < json.size()) out += json[++i];
            in_string = c != '"';
        } else if (c == '"') {
            in_string = true;
        } else if ((c == 'e' || c == 'E') && i + 1 < json.size() &&
                   (json[i + 1] == '+' || json[i + 1] == '-')) {
            // Outside strings an 'e' before a sign is a number's exponent.
            out += json[++i];
            std::size_t digits = 0;
            while (i + 1 + digits < json.size() &&
                   std::isdigit(static_cast<unsigned char>(json[i + 1 + digits])))
                ++digits;
            if (digits < 3) out.append(3 - digits, '0');
        }
    }
    return out;
}

std::size_t zsprint(char* out, std::size_t cap, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const std::size_t len = zformat(out, cap, fmt, ap);
    va_end(ap);
    return len;
}

void zprint(const char* fmt, ...)
{
    if (console.muted) return;
    va_list ap;
    va_start(ap, fmt);
    write_formatted(stdout, fmt, ap);
    va_end(ap);
}

bool zfprint(std::FILE* f, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const bool ok = write_formatted(f, fmt, ap);
    va_end(ap);
    return ok;
}

void reset_console()
{
    console = console_state{};
}
