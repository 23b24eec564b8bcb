#include "velmora/http_date.h"

#include <cctype>
#include <cstring>


namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

class Reader {
public:
    explicit Reader(const char* p) : p_(p) {}
    void Blanks() {
        while (*p_ == ' ') ++p_;
    }
    bool Char(char c) {
        if (*p_ != c) return false;
        ++p_;
        return true;
    }
    bool Word() {  // a day name, not checked against the date
        const char* start = p_;
        while (std::isalpha(static_cast<unsigned char>(*p_))) ++p_;
        return p_ > start;
    }
    bool Number(int minDigits, int maxDigits, int& value) {
        int digits = 0;
        value = 0;
        while (digits < maxDigits && std::isdigit(static_cast<unsigned char>(*p_))) {
            value = value * 10 + (*p_++ - '0');
            ++digits;
        }
        return digits >= minDigits && !std::isdigit(static_cast<unsigned char>(*p_));
    }
    bool Month(int& month) {
        for (int m = 0; m < 12; ++m) {
            if (std::strncmp(p_, kMonths[m], 3) == 0) {
                p_ += 3;
                month = m + 1;
                return true;
            }
        }
        return false;
    }
    bool Time(int& h, int& m, int& s) {
        return Number(2, 2, h) && Char(':') && Number(2, 2, m) && Char(':') && Number(2, 2, s);
    }
    bool Gmt() {
        Blanks();
        if (std::strncmp(p_, "GMT", 3) != 0 && std::strncmp(p_, "UTC", 3) != 0) return false;
        p_ += 3;
        return AtEnd();
    }
    bool AtEnd() {
        while (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n') ++p_;
        return *p_ == 0;
    }

private:
    const char* p_;
};

}  // namespace

bool ParseHttpDate(const char* text, SYSTEMTIME& utc) {
    utc = SYSTEMTIME{};
    if (!text) return false;
    int day = 0, month = 0, year = 0, h = 0, m = 0, s = 0;
    bool ok = false;
    {
        Reader r(text);  // Sun, 06 Nov 1994 08:49:37 GMT
        r.Blanks();
        ok = r.Word() && r.Char(',') && (r.Blanks(), r.Number(1, 2, day)) && r.Char(' ') && r.Month(month) &&
             r.Char(' ') && r.Number(4, 4, year) && r.Char(' ') && r.Time(h, m, s) && r.Gmt();
    }
    if (!ok) {
        Reader r(text);  // Sunday, 06-Nov-94 08:49:37 GMT
        r.Blanks();
        ok = r.Word() && r.Char(',') && (r.Blanks(), r.Number(2, 2, day)) && r.Char('-') && r.Month(month) &&
             r.Char('-') && r.Number(2, 2, year) && r.Char(' ') && r.Time(h, m, s) && r.Gmt();
        if (ok) year += year < 70 ? 2000 : 1900;
    }
    if (!ok) {
        Reader r(text);  // Sun Nov  6 08:49:37 1994
        r.Blanks();
        ok = r.Word() && r.Char(' ') && r.Month(month) && (r.Blanks(), r.Number(1, 2, day)) && r.Char(' ') &&
             r.Time(h, m, s) && r.Char(' ') && r.Number(4, 4, year) && r.AtEnd();
    }
    if (!ok || year < 1601 || h > 23 || m > 59 || s > 59) return false;
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(m);
    t.wSecond = static_cast<WORD>(s);
    FILETIME ft;
    if (!SystemTimeToFileTime(&t, &ft) || !FileTimeToSystemTime(&ft, &t)) return false;  // real date, weekday set
    utc = t;
    return true;
}
