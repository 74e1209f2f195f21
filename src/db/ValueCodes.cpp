#include "db/ValueCodes.h"

#include <cstdlib>

namespace {
const char* const kPowerNames[kPowerCount] = {"Austria", "England", "France", "Germany", "Italy", "Russia", "Turkey"};
}  // namespace

QString PowerName(int powerID)
{
    if (powerID < 0 || powerID >= kPowerCount) return {};
    return QString::fromLatin1(kPowerNames[powerID]);
}

QString PowerNameUpper(int powerID) { return PowerName(powerID).toUpper(); }

YearsField DecodeYears(int years)
{
    YearsField field;
    field.yearIndex = years < 0 ? -1 : years % 100;
    field.totalSC = std::abs(years / 100);
    return field;
}

int EncodeYears(int yearIndex, int totalSC)
{
    if (yearIndex >= 0) return yearIndex + 100 * totalSC;
    return totalSC > 0 ? -100 * totalSC : -1;
}

int TotalSCOrDefault(int totalSC, int powerID)
{
    if (totalSC != 0) return totalSC;
    return powerID == kRussia ? 4 : 3;
}
