// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TestSettings.h"

#include "profiles/ConfigProfile.h"

#include <type_traits>
#include <utility>

namespace {
// The objectName of each control and the field that holds its text.
constexpr std::pair<const char*, QString TestSettings::*> TextFields[] = {
    {"TestNo", &TestSettings::testNumber},  {"Ppar", &TestSettings::primary},
    {"Spar", &TestSettings::secondary},     {"freq", &TestSettings::frequency},
    {"Voltage", &TestSettings::voltage},    {"Bias", &TestSettings::bias},
    {"Range", &TestSettings::range},        {"Accuracy", &TestSettings::accuracy},
    {"Delay", &TestSettings::delay},        {"num_avg", &TestSettings::average},
    {"listMedian", &TestSettings::median},  {"ListCable", &TestSettings::cable},
    {"ListLevel", &TestSettings::leveling}, {"ListSRC", &TestSettings::sourceResistance},
};

QString itemAt(const QStringList& items, int position) {
    return position >= 0 && position < items.size() ? items.at(position) : QString();
}

// One lookup for the const and the mutable settings.
template <typename Settings> auto* textOf(Settings& settings, const QString& control) {
    using Text = std::conditional_t<std::is_const_v<Settings>, const QString, QString>;
    for (const auto& [name, field] : TextFields)
        if (control == QLatin1String(name))
            return static_cast<Text*>(&(settings.*field));
    if (control == QLatin1String("StartFreq"))
        return static_cast<Text*>(&settings.run.startText);
    if (control == QLatin1String("StopFreq"))
        return static_cast<Text*>(&settings.run.stopText);
    if (control == QLatin1String("SweepSteps"))
        return static_cast<Text*>(&settings.run.stepsText);
    return static_cast<Text*>(nullptr);
}
} // namespace

QString* TestSettings::text(const QString& control) {
    return textOf(*this, control);
}

const QString* TestSettings::text(const QString& control) const {
    return textOf(*this, control);
}

QStringList listItems(const ConfigProfile& profile, const QString& control) {
    if (control == QLatin1String("Ppar"))
        return profile.primaryItems;
    if (control == QLatin1String("Bias"))
        return profile.biasItems;
    if (control == QLatin1String("Range"))
        return {QStringLiteral("Auto"), QStringLiteral("Hold")};
    if (control == QLatin1String("Accuracy"))
        return profile.accuracyItems;
    if (control == QLatin1String("listMedian"))
        return {QStringLiteral("OFF"), QStringLiteral("ON")};
    if (control == QLatin1String("ListCable"))
        return profile.cableItems;
    if (control == QLatin1String("ListLevel"))
        return profile.levelItems;
    if (control == QLatin1String("ListSRC"))
        return profile.sourceResistanceItems;
    return {};
}

TestSettings initialTestSettings(const ConfigProfile& profile) {
    TestSettings s;
    if (profile.hasTestNumber)
        s.testNumber = QStringLiteral("1");
    s.primary = itemAt(profile.primaryItems, 0);
    // The first primary is "Auto", which leaves the secondary list as it was created.
    s.secondary = itemAt(profile.initialSecondaryItems, 0);
    s.frequency = QStringLiteral("1000");
    s.voltage = QStringLiteral("1");
    s.bias = itemAt(profile.biasItems, profile.biasStart);
    s.range = itemAt(listItems(profile, QStringLiteral("Range")), profile.rangeStart);
    s.accuracy = itemAt(profile.accuracyItems, profile.accuracyStart);
    s.delay = QStringLiteral("0");
    s.average = QStringLiteral("1");
    s.median = QStringLiteral("OFF");
    if (profile.hasSystemSettings) {
        s.cable = itemAt(profile.cableItems, 0);
        s.leveling = itemAt(profile.levelItems, 0);
        s.sourceResistance = itemAt(profile.sourceResistanceItems, 0);
    }
    s.run.sweep = false;
    s.run.startText = QStringLiteral("1000");
    s.run.stopText = QStringLiteral("100000");
    s.run.stepsText = QStringLiteral("10");
    s.run.logarithmic = false;
    return s;
}
