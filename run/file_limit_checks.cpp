#include "run/file_limit_checks.h"

#include <limits>

#include "platform/string_table.h"
#include "text/text_format.h"

namespace {

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ')
    text.remove_suffix(1);
  return text;
}

bool IsDigit(char16_t unit) {
  return unit >= u'0' && unit <= u'9';
}

// Takes the leading digits of `text` into `value`; false when there are none or they overflow.
bool TakeNumber(std::u16string_view& text, std::uint64_t& value) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  size_t used = 0;
  value = 0;
  for (; used < text.size() && IsDigit(text[used]); ++used) {
    const unsigned digit = text[used] - u'0';
    if (value > (kMax - digit) / 10)
      return false;
    value = value * 10 + digit;
  }
  text.remove_prefix(used);
  return used != 0;
}

// Exactly `count` digits into `value`.
bool TakeFixed(std::u16string_view& text, size_t count, unsigned& value) {
  if (text.size() < count)
    return false;
  value = 0;
  for (size_t i = 0; i < count; ++i) {
    if (!IsDigit(text[i]))
      return false;
    value = value * 10 + (text[i] - u'0');
  }
  text.remove_prefix(count);
  return true;
}

bool TakeUnit(std::u16string_view& text, char16_t unit) {
  if (text.empty() || text.front() != unit)
    return false;
  text.remove_prefix(1);
  return true;
}

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool ParseIsoMoment(std::u16string_view text, std::int64_t& seconds) {
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!TakeFixed(text, 4, year) || !TakeUnit(text, u'-') || !TakeFixed(text, 2, month) ||
      !TakeUnit(text, u'-') || !TakeFixed(text, 2, day))
    return false;
  if (!text.empty()) {
    if (!TakeUnit(text, u'T') && !TakeUnit(text, u' '))
      return false;
    if (!TakeFixed(text, 2, hour) || !TakeUnit(text, u':') || !TakeFixed(text, 2, minute))
      return false;
    if (!text.empty() && (!TakeUnit(text, u':') || !TakeFixed(text, 2, second)))
      return false;
  }
  if (!text.empty() || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour > 23 || minute > 59 || second > 59)
    return false;
  seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  return true;
}

bool ParseAge(std::u16string_view text, const CalendarTime& now, std::int64_t& seconds) {
  std::uint64_t count = 0;
  if (!TakeNumber(text, count) || text.size() != 1)
    return false;
  std::uint64_t unit = 0;
  switch (text.front() | 0x20) {
    case u'h':
      unit = 3600;
      break;
    case u'd':
      unit = 86400;
      break;
    case u'w':
      unit = 7 * 86400;
      break;
    default:
      return false;
  }
  // No age reaches back before the year 1.
  if (count > (std::uint64_t{1} << 40) / unit)
    return false;
  seconds = LocalSeconds(now) - static_cast<std::int64_t>(count * unit);
  return true;
}

}  // namespace

std::int64_t LocalSeconds(const CalendarTime& time) {
  return DaysFromCivil(time.year, time.month, time.day) * 86400 + time.hour * 3600 +
         time.minute * 60 + time.second;
}

LimitCheck CheckFileLimits(const FileLimits& limits, std::uint64_t size,
                           const CalendarTime& modified) {
  if ((limits.minSize && size < *limits.minSize) || (limits.maxSize && size > *limits.maxSize))
    return LimitCheck::Size;
  if (!limits.newer && !limits.older)
    return LimitCheck::Inside;
  const std::int64_t seconds = LocalSeconds(modified);
  if ((limits.newer && seconds < *limits.newer) || (limits.older && seconds >= *limits.older))
    return LimitCheck::Date;
  return LimitCheck::Inside;
}

bool ParseSizeLimit(std::u16string_view text, std::optional<std::uint64_t>& size) {
  text = Trimmed(text);
  size.reset();
  if (text.empty())
    return true;
  std::uint64_t value = 0;
  if (!TakeNumber(text, value) || text.size() > 1)
    return false;
  unsigned shift = 0;
  if (!text.empty()) {
    switch (text.front() | 0x20) {
      case u'k':
        shift = 10;
        break;
      case u'm':
        shift = 20;
        break;
      case u'g':
        shift = 30;
        break;
      default:
        return false;
    }
  }
  if (value > std::numeric_limits<std::uint64_t>::max() >> shift)
    return false;
  size = value << shift;
  return true;
}

bool ParseDateLimit(std::u16string_view text, const CalendarTime& now,
                    std::optional<std::int64_t>& seconds) {
  text = Trimmed(text);
  seconds.reset();
  if (text.empty())
    return true;
  std::int64_t value = 0;
  if (!ParseIsoMoment(text, value) && !ParseAge(text, now, value))
    return false;
  seconds = value;
  return true;
}

bool ParseFileLimits(const LimitTexts& texts, const CalendarTime& now, FileLimits& limits,
                     std::u16string& message) {
  const auto size = [&](std::u16string_view text, std::optional<std::uint64_t>& target) {
    if (ParseSizeLimit(text, target))
      return true;
    message = FormatString(IDS_BAD_SIZE_LIMIT, {text});
    return false;
  };
  const auto date = [&](std::u16string_view text, std::optional<std::int64_t>& target) {
    if (ParseDateLimit(text, now, target))
      return true;
    message = FormatString(IDS_BAD_DATE_LIMIT, {text});
    return false;
  };
  return size(texts.minSize, limits.minSize) && size(texts.maxSize, limits.maxSize) &&
         date(texts.newer, limits.newer) && date(texts.older, limits.older);
}
