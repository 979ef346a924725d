#pragma once

// A program's text through the whole path the command takes: the source
// vendor's reader, the rules, the target's writer, every file in memory.

#include "robotfiles/program_readers.h"
#include "robotfiles/program_writers.h"
#include "tests/translation/model_builders.h"
#include "translation/translate.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

struct Translated {
    ProgramInfo source;
    ProgramInfo target;
    std::vector<Statement> statements; // as the reader handed them over
    std::vector<StatementOutcome> outcomes;
    std::map<std::uint64_t, TargetPlace> landed; // by statement index
    std::vector<std::string> warnings;           // of the reader
    MemoryFiles files;
    OutputLedger ledger;
    bool refused = false;
};

inline std::vector<std::string_view> viewsOf(const std::vector<std::string>& texts) {
    return std::vector<std::string_view>(texts.begin(), texts.end());
}

// Reads, translates and writes; a refused statement is not written, as the
// command writes nothing of a refused program.
inline void readAndTranslate(const ProgramInfo& source, const std::vector<std::string>& texts,
                             const TranslationOptions& options, Translated& out) {
    out.source = source;
    PointTable points;
    ProgramInput input;
    input.statement = [&out](const Statement& s) { out.statements.push_back(s); };
    input.warning = [&out](std::uint32_t file, const ScanWarning& w) {
        out.warnings.push_back(std::to_string(file) + ":" + std::to_string(w.line) + ": " +
                               w.message);
    };
    const std::vector<std::string_view> views = viewsOf(texts);
    readProgramText(source, views, points, input);
    out.ledger.sink = out.files.sink();
    out.ledger.report.landed = [&out](std::uint64_t ticket, const TargetPlace& place) {
        out.landed[ticket] = place;
    };
    TranslationState state;
    bool renamed = false;
    startTranslation(source, options, state, out.target, renamed);
    ProgramWriter writer;
    ASSERT_TRUE(startProgramWriter(writer, out.ledger, out.target, source, WriterSettings{}));
    for (std::size_t k = 0; k < out.statements.size(); ++k) {
        StatementOutcome& outcome = out.outcomes.emplace_back();
        translateStatement(state, points, out.statements[k], outcome);
        if (outcome.refused) {
            out.refused = true;
            continue;
        }
        ASSERT_TRUE(writeProgramStatement(writer, outcome.target, outcome.annotation, k))
            << writerMessage(writer);
    }
    ASSERT_TRUE(finishProgramWriter(writer));
}

// The statement that stands first on the line, a comment after another
// statement not counted; npos when none.
inline std::size_t statementAt(const Translated& t, std::uint32_t file, std::uint64_t line) {
    for (std::size_t k = 0; k < t.statements.size(); ++k) {
        const SourceSpan& place = t.statements[k].place;
        if (place.file == file && place.firstLine <= line && line <= place.lastLine) {
            return k;
        }
    }
    return std::string::npos;
}

// The text of a line of a finished target file, CR LF removed; "" beyond it.
inline std::string targetLine(const Translated& t, const TargetPlace& place) {
    if (place.file < 0) {
        return "";
    }
    const std::string text = t.files.text(t.ledger.names[static_cast<std::size_t>(place.file)]);
    std::uint64_t wanted = finalLine(t.ledger, place);
    std::size_t start = 0;
    for (std::uint64_t line = 1; line < wanted && start != std::string::npos; ++line) {
        start = text.find('\n', start);
        start = start == std::string::npos ? start : start + 1;
    }
    if (start == std::string::npos || start >= text.size()) {
        return "";
    }
    return text.substr(start, text.find('\n', start) - start);
}

// The warning codes of an outcome, in order, separated by blanks.
inline std::string warningCodes(const StatementOutcome& outcome) {
    std::string text;
    for (const Note& note : outcome.annotation.notes) {
        text += (text.empty() ? "" : " ") + std::string(warningWord(note.code));
    }
    return text;
}

inline TranslationOptions parsedOptions(Vendor from, Vendor to,
                                        const std::vector<std::string>& frames,
                                        const std::vector<std::string>& tools,
                                        const std::vector<std::string>& signals,
                                        const std::vector<std::string>& blends, double jointSpeed) {
    TranslationOptions o;
    o.target = to;
    o.configController = true;
    o.jointSpeed = jointSpeed;
    std::string message;
    for (const std::string& entry : frames) {
        ReferencePair pair;
        EXPECT_TRUE(parseReferencePair(entry, from, to, ReferenceKind::frame, pair, message))
            << message;
        o.frames.push_back(pair);
    }
    for (const std::string& entry : tools) {
        ReferencePair pair;
        EXPECT_TRUE(parseReferencePair(entry, from, to, ReferenceKind::tool, pair, message))
            << message;
        o.tools.push_back(pair);
    }
    for (const std::string& entry : signals) {
        SignalPair pair;
        EXPECT_TRUE(parseSignalPair(entry, from, to, pair, message)) << message;
        o.signals.push_back(pair);
    }
    for (const std::string& entry : blends) {
        BlendPair pair;
        EXPECT_TRUE(parseBlendPair(entry, pair, message)) << message;
        o.blends.push_back(pair);
    }
    return o;
}
