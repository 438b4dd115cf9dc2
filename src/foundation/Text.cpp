#include "foundation/Text.h"

#include "foundation/ByteStream.h"
#include "foundation/KelException.h"

#include <stdexcept>

namespace {
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one code point at i and advances i; malformed bytes give U+FFFD.
uint32_t NextCodePoint(std::string_view s, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    int extra = lead < 0x80             ? 0
                : (lead & 0xE0) == 0xC0 ? 1
                : (lead & 0xF0) == 0xE0 ? 2
                : (lead & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra == 0) {
        ++i;
        return lead;
    }
    if (extra < 0 || i + extra >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    uint32_t cp = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += extra + 1;
    return cp;
}
} // namespace

std::string TrimLeading(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return std::string(s.substr(i));
}

std::string TrimTrailing(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1]))
        --n;
    return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) {
    return TrimTrailing(TrimLeading(s));
}

bool ContainsText(std::string_view sub, std::string_view s) {
    return s.find(sub) != std::string_view::npos;
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = UpperChar(c);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = LowerChar(c);
    return r;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

void ExtractWord(std::string& s, std::string& word) {
    size_t space = s.find(' ');
    if (space == std::string::npos) {
        word = s;
        s.clear();
        return;
    }
    word = s.substr(0, space);
    // The rest keeps at most 255 characters, as the line buffers of the
    // stored formats did.
    s = TrimLeading(Utf8Left(std::string_view(s).substr(space + 1), 255));
}

std::string ExtractWord(std::string& s) {
    std::string word;
    ExtractWord(s, word);
    return word;
}

void ExtractRect(std::string& s, TRect& r) {
    int32_t* fields[] = {&r.Left, &r.Top, &r.Right, &r.Bottom};
    bool ok = true;
    for (int32_t* field : fields) {
        if (!TryStrToInt(ExtractWord(s), *field)) {
            ok = false;
            break;
        }
    }
    if (!ok || r.Right < 0 || r.Bottom < 0 || !CoordinatesInRange({r.Left, r.Top, r.Right, r.Bottom})) throw std::runtime_error("ExtractBounds: invalid rectangle");
}

void ExtractBounds(std::string& s, TRect& r) {
    ExtractRect(s, r);
    r.Right += r.Left;
    r.Bottom += r.Top;
}

bool TryStrToInt(std::string_view s, int32_t& value) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    int64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : 99;
        if (digit >= base) return false;
        magnitude = magnitude * base + digit;
        // Hexadecimal may spell the full 32-bit pattern; decimal must fit.
        if (magnitude > (base == 16 ? 0xFFFFFFFFLL : 0x80000000LL)) return false;
    }
    int64_t v = negative ? -magnitude : magnitude;
    if (base == 10 && v > INT32_MAX) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

int32_t StrToInt(std::string_view s) {
    int32_t value = 0;
    if (!TryStrToInt(s, value))
        throw std::runtime_error("'" + std::string(s) + "' is not a valid integer value");
    return value;
}

void ReadLine(ByteStream& stream, bool ansi, std::string& line) {
    // Line feed ends a line; 32..126 and 160..255 are kept; every other unit
    // (carriage return, tab, other controls, 127..159 and, in the 16-bit
    // form, anything above 255) is dropped.
    std::string bytes;
    const size_t unit = ansi ? 1 : 2;
    for (;;) {
        uint8_t buffer[2] = {0, 0};
        if (stream.Read(buffer, unit) < unit) throw SilentAbort();
        unsigned code = ansi ? buffer[0] : static_cast<unsigned>(buffer[0] | (buffer[1] << 8));
        if (code == 10) break;
        if ((code >= 32 && code <= 126) || (code >= 160 && code <= 255)) bytes += static_cast<char>(code);
    }
    line = Latin1ToUtf8(bytes);
}

std::string FormatText(std::string_view format, std::string_view value) {
    std::string out(format);
    size_t at = out.find("%s");
    if (at == std::string::npos) at = out.find("%d");
    if (at != std::string::npos) out.replace(at, 2, value);
    return out;
}

std::string FormatText(std::string_view format, int64_t value) {
    return FormatText(format, std::to_string(value));
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

std::string Utf8ToLatin1(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = NextCodePoint(text, i);
        out += cp <= 255 ? static_cast<char>(cp) : '?';
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = NextCodePoint(text, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string Utf8Left(std::string_view text, size_t n) {
    size_t i = 0;
    for (size_t count = 0; count < n && i < text.size(); ++count)
        NextCodePoint(text, i);
    return std::string(text.substr(0, i));
}
