// ado::RegionalSettings: how numbers, dates and booleans are written and read as text.
//
// The process's settings are read once from its locale (LC_NUMERIC, LC_TIME, LC_MESSAGES)
// and can be replaced with SetCurrent, as a user changes the system's regional settings.
//
// RegionalSettings is a value. The current settings are process-wide: SetCurrent them at
// start-up, before other threads convert values.
#pragma once

#include <string>

namespace ado {

class RegionalSettings {
public:
    enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

    std::string decimalSeparator = ".";
    std::string thousandsSeparator = ",";
    DateOrder dateOrder = DateOrder::MonthDayYear;
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    bool twentyFourHour = false;          // false: "1:05:09 PM"
    std::string amDesignator = "AM";
    std::string pmDesignator = "PM";
    bool fourDigitYear = true;
    bool leadingZeroDayMonth = false;     // "05/03/2024" rather than "5/3/2024"
    bool leadingZeroHour = false;         // "09:05:09" rather than "9:05:09"
    std::string trueText = "True";
    std::string falseText = "False";
    // The language ("es", "en", "tr"): the rules for letter case and for comparing texts;
    // empty under the "C" locale (root rules; new database files then take Spanish ones).
    std::string language;
    // The code page of 8-bit text that files carry without saying which (the STR values of a
    // recordset file in ADTG), as the platform's system code page: Windows-1252 by default.
    int ansiCodePage = 1252;

    // Settings of a named locale ("es_ES.UTF-8", "en_US.UTF-8", "C"); nullptr or "" reads the
    // process environment (LC_ALL, LC_NUMERIC, LC_TIME, LC_MESSAGES, LANG). Numbers come from
    // the numeric category, date order, separators and clock from the time category, the
    // language and the boolean words from the messages category ("C" has no language and
    // English words). A category whose locale is not
    // installed gives the "C" settings for that category. The year is always written with
    // four digits, as the platform's short date does, so that text round trips keep the century.
    static RegionalSettings FromLocale(const char* localeName = nullptr);
    static RegionalSettings Spanish();      // es_ES as the platform writes it
    static RegionalSettings UnitedStates(); // en_US as the platform writes it

    // The process-wide settings every conversion uses unless it is given others. Read from the
    // environment on first use; SetCurrent is not synchronised with conversions running on
    // other threads, so call it at start-up or while no conversion runs.
    static const RegionalSettings& Current();
    static void SetCurrent(const RegionalSettings& settings);
};

}  // namespace ado
