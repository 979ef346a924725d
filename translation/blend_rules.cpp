#include "translation/blend_rules.h"

#include "translation/abb_data.h"

#include <algorithm>
#include <charconv>

namespace {

// The orientation members of an own zonedata, in the proportions of the
// predefined zones from z10 on.
// Worked out in double and rounded once, so that 12 mm gives 1.8, not the
// float product 1.8000001.
constexpr double zoneOrientationFactor = 1.5;
constexpr double zoneAngleFactor = 0.15;

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

// An ABB zone with its values looked up when the program did not declare it;
// false when they are not known.
bool resolvedZone(const Blend& blend, Blend& out) {
    out = blend;
    if (blend.kind != BlendKind::abbZone || blend.hasData) {
        return true;
    }
    const AbbZoneData* predefined = findAbbZone(blend.name);
    if (predefined == nullptr) {
        return false;
    }
    out.hasData = true;
    out.predefined = true;
    std::copy(std::begin(predefined->values), std::end(predefined->values), out.data);
    return true;
}

// The millimetres at which the blend starts, for the two distance forms.
bool distanceOf(const Blend& blend, float& mm) {
    if (blend.kind == BlendKind::kukaDistance) {
        mm = blend.value;
        return true;
    }
    if (blend.kind == BlendKind::abbZone && blend.hasData) {
        mm = blend.data[1];
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

Blend stopFor(Vendor to) {
    Blend blend;
    blend.kind = BlendKind::stop;
    if (to == Vendor::abb) {
        blend.name = "fine";
        blend.predefined = true;
    }
    return blend;
}

Blend abbZoneOf(float mm, NameTable& names) {
    Blend blend;
    blend.kind = BlendKind::abbZone;
    blend.hasData = true;
    if (const AbbZoneData* predefined = abbZoneOfDistance(mm)) {
        blend.name = predefined->name;
        blend.predefined = true;
        std::copy(std::begin(predefined->values), std::end(predefined->values), blend.data);
        return blend;
    }
    const std::string wanted = "zone" + nameNumber(mm);
    bool renamed = false;
    blend.name = assignName(names, NameKind::data, "zone:" + wanted, wanted, renamed);
    const double d = static_cast<double>(mm);
    const float orientation = static_cast<float>(d * zoneOrientationFactor);
    const float angle = static_cast<float>(d * zoneAngleFactor);
    const float values[7] = {0.0f, mm, orientation, orientation, angle, orientation, angle};
    std::copy(std::begin(values), std::end(values), blend.data);
    return blend;
}

Blend blendOf(BlendKind kind, float value) {
    Blend blend;
    blend.kind = kind;
    blend.value = value;
    return blend;
}

bool kukaTakes(MotionKind motion, BlendKind kind) {
    if (kind == BlendKind::stop || kind == BlendKind::kukaDistance) {
        return true;
    }
    return motion == MotionKind::joint
               ? kind == BlendKind::kukaPtp
               : kind == BlendKind::kukaVelocity || kind == BlendKind::kukaOrientation;
}

// Whether a --blend key names this source blend.
bool keyMatches(const BlendWord& key, const Blend& source) {
    if (key.anyVendor) {
        return false; // a stop never reaches the table
    }
    Blend keyBlend;
    float keyMm = 0.0f;
    float sourceMm = 0.0f;
    if (resolvedZone(key.blend, keyBlend) && distanceOf(keyBlend, keyMm)) {
        return distanceOf(source, sourceMm) && sourceMm == keyMm;
    }
    if (key.blend.kind == BlendKind::abbZone) {
        return source.kind == BlendKind::abbZone && equalNoCase(source.name, key.blend.name);
    }
    return key.blend.kind == source.kind && key.blend.value == source.value;
}

// The entry's target as the target vendor writes it, if it can take it.
bool entryTarget(const BlendWord& word, Vendor to, MotionKind motion, Blend& out) {
    if (word.anyVendor) {
        out = stopFor(to);
        return true;
    }
    if (word.vendor != to) {
        return false;
    }
    switch (to) {
    case Vendor::kuka:
        out = word.blend;
        return kukaTakes(motion, out.kind);
    case Vendor::abb:
        return resolvedZone(word.blend, out) && out.predefined;
    case Vendor::fanuc:
        out = word.blend;
        return true;
    }
    return false;
}

Blend smallestFor(Vendor to, NameTable& names) {
    switch (to) {
    case Vendor::kuka:
        return blendOf(BlendKind::kukaDistance, 1.0f);
    case Vendor::abb:
        return abbZoneOf(1.0f, names);
    case Vendor::fanuc:
        return blendOf(BlendKind::fanucCnt, 1.0f);
    }
    return Blend{};
}

} // namespace

void convertBlend(const Motion& source, Vendor from, const TranslationOptions& options,
                  NameTable& names, Blend& out, Verdict& verdict) {
    const Vendor to = options.target;
    Blend blend;
    if (source.blend.kind == BlendKind::other || !resolvedZone(source.blend, blend)) {
        apply(verdict, RuleId::blendUnsupported);
        return;
    }
    if (from == to) {
        out = blend;
        apply(verdict, RuleId::sameVendor);
        return;
    }
    // An own zonedata with finep TRUE is a fine point whatever its zones.
    if (blend.kind == BlendKind::stop ||
        (blend.kind == BlendKind::abbZone && blend.data[0] != 0.0f)) {
        out = stopFor(to);
        apply(verdict, RuleId::exactStop);
        return;
    }
    float mm = 0.0f;
    if (distanceOf(blend, mm) && to != Vendor::fanuc) {
        out = to == Vendor::abb ? abbZoneOf(mm, names) : blendOf(BlendKind::kukaDistance, mm);
        apply(verdict, RuleId::zoneDistance);
        return;
    }
    const std::string was = blendWords(source.blend);
    for (const BlendPair& entry : options.blends) {
        Blend target;
        if (keyMatches(entry.source, blend) && entryTarget(entry.target, to, source.kind, target)) {
            out = target;
            apply(verdict, RuleId::blendMap, was);
            return;
        }
    }
    out = smallestFor(to, names);
    apply(verdict, RuleId::blendDefault, was);
}
