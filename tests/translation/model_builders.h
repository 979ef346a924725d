#pragma once

// Model statements and points written directly, as a reader would hand
// them over, and an output that keeps target files in memory.

#include "robotfiles/program_model.h"
#include "robotfiles/program_output.h"

#include <initializer_list>
#include <string>
#include <vector>

inline Point point(Vendor notation, std::initializer_list<float> values, const char* name = "",
                   const char* config = "") {
    Point p;
    p.name = name;
    p.config = config;
    setPose(p, notation, std::span<const float>(values.begin(), values.size()));
    return p;
}

inline Reference number(int n) {
    Reference r;
    r.known = true;
    r.number = n;
    return r;
}

inline Reference named(const char* name) {
    Reference r;
    r.known = true;
    r.name = name;
    return r;
}

inline Speed pathSpeed(float value, PathUnit unit) {
    Speed s;
    s.kind = SpeedKind::path;
    s.value = value;
    s.unit = unit;
    return s;
}

inline Speed percent(float value) {
    Speed s;
    s.kind = SpeedKind::jointPercent;
    s.value = value;
    return s;
}

// An ABB speeddata by name, with its values when the program declares it.
inline Speed abbSpeed(const char* name, std::initializer_list<float> values = {}) {
    Speed s;
    s.kind = SpeedKind::abbData;
    s.name = name;
    s.hasData = values.size() == 4;
    std::copy(values.begin(), values.end(), s.data);
    return s;
}

inline Blend stop() {
    return Blend{};
}

inline Blend blendOf(BlendKind kind, float value) {
    Blend b;
    b.kind = kind;
    b.value = value;
    return b;
}

inline Blend abbZone(const char* name, std::initializer_list<float> values = {}) {
    Blend b;
    b.kind = BlendKind::abbZone;
    b.name = name;
    b.hasData = values.size() == 7;
    std::copy(values.begin(), values.end(), b.data);
    return b;
}

inline Statement motion(MotionKind kind, const char* key, Speed speed, Blend blend, Reference frame,
                        Reference tool, const char* via = "") {
    Statement s;
    s.kind = StatementKind::motion;
    s.motion.kind = kind;
    s.motion.target.key = key;
    s.motion.via.key = via;
    s.motion.speed = speed;
    s.motion.blend = blend;
    s.motion.frame = frame;
    s.motion.tool = tool;
    return s;
}

inline Statement statementOf(StatementKind kind) {
    Statement s;
    s.kind = kind;
    return s;
}

inline Statement output(const char* signal, bool state, bool pulse = false, double seconds = -1.0) {
    Statement s = statementOf(StatementKind::digitalOutput);
    s.signal = signal;
    s.state = state;
    s.pulse = pulse;
    s.seconds = seconds;
    return s;
}

inline Statement waitInput(const char* signal, bool state) {
    Statement s = statementOf(StatementKind::waitInput);
    s.signal = signal;
    s.state = state;
    return s;
}

inline Statement waitTime(double seconds) {
    Statement s = statementOf(StatementKind::waitTime);
    s.seconds = seconds;
    return s;
}

inline Statement named(StatementKind kind, const char* name, bool main = false) {
    Statement s = statementOf(kind);
    s.name = name;
    s.main = main;
    return s;
}

inline Statement commentOf(const char* text) {
    Statement s = statementOf(StatementKind::comment);
    s.comment = text;
    return s;
}

inline Statement kept(const char* text, WarningCode code, std::uint64_t line) {
    Statement s = statementOf(StatementKind::kept);
    s.text = text;
    s.keptCode = code;
    s.place.firstLine = line;
    s.place.lastLine = line;
    return s;
}

inline Statement declaration(const char* key, const Point& p) {
    Statement s = statementOf(StatementKind::pointDeclaration);
    s.key = key;
    s.point = p;
    return s;
}

// Target files in memory: the parts of each, joined on request.
struct MemoryFiles {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> parts;

    OutputSink sink() {
        OutputSink s;
        s.open = [this](std::string_view name, int count) {
            names.emplace_back(name);
            parts.emplace_back(static_cast<std::size_t>(count));
            return static_cast<int>(names.size() - 1);
        };
        s.append = [this](int file, int part, std::string_view text) {
            parts[static_cast<std::size_t>(file)][static_cast<std::size_t>(part)] += text;
        };
        return s;
    }

    // The raw bytes, CR LF kept, for the readers; "" when there is no such file.
    std::string bytes(const std::string& name) const {
        std::string joined;
        for (std::size_t f = 0; f < names.size(); ++f) {
            for (const std::string& part :
                 names[f] == name ? parts[f] : std::vector<std::string>{}) {
                joined += part;
            }
        }
        return joined;
    }

    // The same with CR LF turned into LF, for comparing with expected texts.
    std::string text(const std::string& name) const {
        std::string out = bytes(name);
        std::erase(out, '\r');
        return out;
    }
};
