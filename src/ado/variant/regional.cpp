// RegionalSettings: read from a locale's langinfo, or the two fixed sets the platform uses.
#include "ado/Regional.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string_view>

namespace ado {
namespace {

using Order = RegionalSettings::DateOrder;

// One category of a locale; an unknown or missing locale gives "C".
class CategoryLocale {
public:
    CategoryLocale(int mask, const char* name) : loc_(newlocale(mask, name, static_cast<locale_t>(nullptr))) {
        if (!loc_) loc_ = newlocale(mask, "C", static_cast<locale_t>(nullptr));
    }
    ~CategoryLocale() {
        if (loc_) freelocale(loc_);
    }
    CategoryLocale(const CategoryLocale&) = delete;
    CategoryLocale& operator=(const CategoryLocale&) = delete;
    std::string_view Item(nl_item item) const { return loc_ ? nl_langinfo_l(item, loc_) : ""; }

private:
    locale_t loc_;
};

// A strftime conversion: its letter and whether its '-' flag or kind drops the leading zero.
struct Conversion {
    char letter = 0;
    bool noPad = false;
    size_t end = 0;  // just past the conversion
};

Conversion NextConversion(std::string_view fmt, size_t from) {
    for (size_t i = fmt.find('%', from); i != std::string_view::npos && i + 1 < fmt.size(); i = fmt.find('%', i + 2)) {
        size_t k = i + 1;
        bool noPad = false;
        while (k < fmt.size() && (fmt[k] == '-' || fmt[k] == '_' || fmt[k] == '0' || fmt[k] == 'E' || fmt[k] == 'O')) {
            noPad |= fmt[k] == '-' || fmt[k] == '_';
            ++k;
        }
        if (k < fmt.size() && fmt[k] != '%') return {fmt[k], noPad, k + 1};
    }
    return {};
}

// Shorthands that glibc locales use in D_FMT and T_FMT.
std::string_view Expand(std::string_view fmt, std::string_view ampmFormat) {
    if (fmt == "%D") return "%m/%d/%y";
    if (fmt == "%F") return "%Y-%m-%d";
    if (fmt == "%T") return "%H:%M:%S";
    if (fmt == "%R") return "%H:%M";
    if (fmt == "%r") return ampmFormat.empty() ? "%I:%M:%S %p" : ampmFormat;
    return fmt;
}

void ReadDateFormat(std::string_view fmt, RegionalSettings& rs) {
    char order[3] = {};
    int fields = 0;
    bool zeros = true;
    size_t pos = 0;
    std::string separator;
    while (fields < 3) {
        const Conversion c = NextConversion(fmt, pos);
        if (!c.letter) break;
        char field = 0;
        if (c.letter == 'd' || c.letter == 'e') field = 'd';
        else if (c.letter == 'm') field = 'm';
        else if (c.letter == 'y' || c.letter == 'Y') field = 'y';
        if (field) {
            zeros &= field == 'y' || (!c.noPad && c.letter != 'e');
            // The text between the first two fields is the separator.
            if (fields == 1) separator = std::string(fmt.substr(pos, fmt.find('%', pos) - pos));
            order[fields++] = field;
        }
        pos = c.end;
    }
    if (fields < 3) return;
    const std::string_view o(order, 3);
    rs.dateOrder = o == "dmy" ? Order::DayMonthYear : o == "ymd" ? Order::YearMonthDay : Order::MonthDayYear;
    if (!separator.empty()) rs.dateSeparator = separator;
    rs.leadingZeroDayMonth = zeros;
}

void ReadTimeFormat(std::string_view fmt, RegionalSettings& rs) {
    const Conversion hour = NextConversion(fmt, 0);
    if (hour.letter != 'H' && hour.letter != 'I' && hour.letter != 'k' && hour.letter != 'l') return;
    rs.twentyFourHour = hour.letter == 'H' || hour.letter == 'k';
    rs.leadingZeroHour = !hour.noPad && (hour.letter == 'H' || hour.letter == 'I');
    const size_t next = fmt.find('%', hour.end);
    if (next != std::string_view::npos && next > hour.end) rs.timeSeparator = std::string(fmt.substr(hour.end, next - hour.end));
}

// The language of the messages category: the locale's name up to '_', '.' or '@'.
std::string_view Language(std::string_view localeName) {
    return localeName.substr(0, localeName.find_first_of("_.@"));
}

RegionalSettings& Storage() {
    static RegionalSettings settings = RegionalSettings::FromLocale(nullptr);
    return settings;
}

}  // namespace

RegionalSettings RegionalSettings::FromLocale(const char* localeName) {
    const char* name = localeName ? localeName : "";
    RegionalSettings rs;

    const CategoryLocale numeric(LC_NUMERIC_MASK, name);
    rs.decimalSeparator = numeric.Item(RADIXCHAR);
    if (rs.decimalSeparator.empty()) rs.decimalSeparator = ".";
    rs.thousandsSeparator = numeric.Item(THOUSEP);

    const CategoryLocale time(LC_TIME_MASK, name);
    ReadDateFormat(Expand(time.Item(D_FMT), {}), rs);
    ReadTimeFormat(Expand(time.Item(T_FMT), time.Item(T_FMT_AMPM)), rs);
    if (!time.Item(AM_STR).empty()) rs.amDesignator = time.Item(AM_STR);
    if (!time.Item(PM_STR).empty()) rs.pmDesignator = time.Item(PM_STR);
    rs.fourDigitYear = true;

    const CategoryLocale messages(LC_MESSAGES_MASK, name);
    const std::string_view language = Language(messages.Item(NL_LOCALE_NAME(LC_MESSAGES)));
    if (!language.empty() && language != "C" && language != "POSIX") rs.language = language;
    if (language == "es") {
        rs.trueText = "Verdadero";
        rs.falseText = "Falso";
    }
    return rs;
}

RegionalSettings RegionalSettings::Spanish() {
    RegionalSettings rs;
    rs.decimalSeparator = ",";
    rs.thousandsSeparator = ".";
    rs.dateOrder = DateOrder::DayMonthYear;
    rs.dateSeparator = "/";
    rs.timeSeparator = ":";
    rs.twentyFourHour = true;
    rs.fourDigitYear = true;
    rs.leadingZeroDayMonth = true;
    rs.leadingZeroHour = false;  // "H:mm:ss"
    rs.trueText = "Verdadero";
    rs.falseText = "Falso";
    rs.language = "es";
    return rs;
}

RegionalSettings RegionalSettings::UnitedStates() {
    RegionalSettings rs;
    rs.language = "en";
    return rs;
}

const RegionalSettings& RegionalSettings::Current() { return Storage(); }

void RegionalSettings::SetCurrent(const RegionalSettings& settings) { Storage() = settings; }

}  // namespace ado
