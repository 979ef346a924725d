#include "translation/speed_rules.h"

#include "translation/abb_data.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// The other members of an own speeddata: those of every predefined vN.
constexpr float abbOrientationSpeed = 500.0f;
constexpr float abbLinearExternalSpeed = 5000.0f;
constexpr float abbRotationExternalSpeed = 1000.0f;

// Whole within what a float carries: a speed read as a float and converted
// in double lands a few parts in 10^8 off the whole number it stands for.
bool nearlyWhole(double value, long& whole) {
    const double nearest = std::nearbyint(value);
    if (std::fabs(value - nearest) <= 1e-6 * std::max(1.0, std::fabs(value))) {
        whole = static_cast<long>(nearest);
        return true;
    }
    return false;
}

std::string nameNumber(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    std::replace(text.begin(), text.end(), '.', '_');
    return text;
}

Speed abbSpeed(double millimetresPerSecond, NameTable& names) {
    Speed speed;
    speed.kind = SpeedKind::abbData;
    speed.hasData = true;
    if (const AbbSpeedData* predefined = abbSpeedOfTcp(millimetresPerSecond)) {
        speed.name = predefined->name;
        speed.predefined = true;
        std::copy(std::begin(predefined->values), std::end(predefined->values), speed.data);
        return speed;
    }
    const float v = static_cast<float>(millimetresPerSecond);
    const std::string wanted = "speed" + nameNumber(v);
    bool renamed = false;
    speed.name = assignName(names, NameKind::data, "speed:" + wanted, wanted, renamed);
    speed.data[0] = v;
    speed.data[1] = abbOrientationSpeed;
    speed.data[2] = abbLinearExternalSpeed;
    speed.data[3] = abbRotationExternalSpeed;
    return speed;
}

// The TCP speed of an ABB speeddata, resolved through the predefined ones;
// false when it is not known. vmax gives not-a-number.
bool abbTcp(const Speed& speed, double& tcp) {
    if (speed.hasData) {
        tcp = static_cast<double>(speed.data[0]);
        return true;
    }
    if (const AbbSpeedData* predefined = findAbbSpeed(speed.name)) {
        tcp = static_cast<double>(predefined->values[0]);
        return true;
    }
    return false;
}

void pathTarget(double mm, Vendor to, const std::string& was, NameTable& names, Speed& out,
                Verdict& verdict) {
    out = Speed{};
    switch (to) {
    case Vendor::kuka:
        out.kind = SpeedKind::path;
        out.unit = PathUnit::metresPerSecond;
        out.value = static_cast<float>(mm / 1000.0);
        apply(verdict, RuleId::pathSpeed);
        return;
    case Vendor::abb:
        out = abbSpeed(mm, names);
        apply(verdict, RuleId::pathSpeed);
        return;
    case Vendor::fanuc: {
        out.kind = SpeedKind::path;
        long whole = 0;
        if (nearlyWhole(mm, whole) && whole >= 1) {
            out.unit = PathUnit::millimetresPerSecond;
            out.value = static_cast<float>(whole);
            apply(verdict, RuleId::pathSpeed);
        } else if (nearlyWhole(mm * 6.0, whole) && whole >= 1) {
            out.unit = PathUnit::centimetresPerMinute;
            out.value = static_cast<float>(whole);
            apply(verdict, RuleId::pathSpeed);
        } else {
            out.unit = PathUnit::millimetresPerSecond;
            out.value = static_cast<float>(std::max(1.0, std::round(mm)));
            apply(verdict, RuleId::pathSpeedRounded, was);
        }
        return;
    }
    }
}

float wholePercent(double percent) {
    return static_cast<float>(std::clamp(std::round(percent), 1.0, 100.0));
}

} // namespace

void convertSpeed(const Motion& source, Vendor from, const TranslationOptions& options,
                  NameTable& names, Speed& out, Verdict& verdict) {
    const Speed& speed = source.speed;
    const Vendor to = options.target;
    const std::string was = speedWords(speed);
    if (speed.kind == SpeedKind::unset || speed.kind == SpeedKind::other) {
        apply(verdict, RuleId::speedUnsupported);
        return;
    }
    double abbSpeedTcp = 0.0;
    if (speed.kind == SpeedKind::abbData && !abbTcp(speed, abbSpeedTcp)) {
        apply(verdict, RuleId::speedUnsupported);
        return;
    }
    if (from == to) {
        out = speed;
        if (speed.kind == SpeedKind::abbData && !speed.hasData) {
            // A predefined vN: the writer names it and declares nothing.
            out.predefined = true;
        }
        apply(verdict, RuleId::sameVendor);
        return;
    }
    const bool joint = source.kind == MotionKind::joint;
    if (!joint) {
        double mm = 0.0;
        if (speed.kind == SpeedKind::path) {
            mm = pathMillimetresPerSecond(speed);
        } else if (speed.kind == SpeedKind::abbData && !std::isnan(abbSpeedTcp)) {
            mm = abbSpeedTcp;
        } else {
            // A percentage on a path motion, or vmax: no unit gives it.
            apply(verdict, RuleId::speedUnsupported);
            return;
        }
        pathTarget(mm, to, was, names, out, verdict);
        return;
    }
    if (speed.kind == SpeedKind::path) {
        apply(verdict, RuleId::speedUnsupported);
        return;
    }
    const bool throughAbb = to == Vendor::abb || speed.kind == SpeedKind::abbData;
    if (throughAbb && !(options.jointSpeed > 0.0)) {
        refuse(verdict, RuleId::jointSpeedNeedsReference,
               "the joint speed " + was +
                   " has no ABB equivalent without --joint-speed MM_S (the TCP speed that counts "
                   "as 100 %)");
        return;
    }
    if (to == Vendor::abb) {
        const double mm = std::max(
            1.0, std::round(static_cast<double>(speed.value) / 100.0 * options.jointSpeed));
        out = abbSpeed(mm, names);
        apply(verdict, RuleId::jointSpeedReference, was);
        return;
    }
    out = Speed{};
    out.kind = SpeedKind::jointPercent;
    if (speed.kind == SpeedKind::abbData) {
        // vmax is the robot's fastest: every axis at its maximum.
        out.value = std::isnan(abbSpeedTcp)
                        ? 100.0f
                        : wholePercent(abbSpeedTcp / options.jointSpeed * 100.0);
        apply(verdict, RuleId::jointSpeedReference, was);
        return;
    }
    const double percent = static_cast<double>(speed.value);
    long whole = 0;
    if (to == Vendor::kuka || (nearlyWhole(percent, whole) && whole >= 1 && whole <= 100)) {
        out.value = to == Vendor::kuka ? speed.value : static_cast<float>(whole);
        apply(verdict, RuleId::jointSpeedPercent);
        return;
    }
    out.value = wholePercent(percent);
    apply(verdict, RuleId::jointSpeedPercentRounded, was);
}
