// Reads arbitrary bytes as a whole program, of the vendor the first byte
// picks (a KRL .src, a RAPID module, a FANUC LS), and translates it to the
// vendor the same byte picks, writing the target into nothing: every line
// must be in a statement, in order and within the text, and the rules and
// the writer must take whatever the reader hands over.

#include "fuzz/fuzz_input.h"
#include "robotfiles/program_readers.h"
#include "robotfiles/program_writers.h"
#include "translation/translate.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto source = static_cast<Vendor>(data[0] % 3);
    const auto target = static_cast<Vendor>(data[0] / 3 % 3);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::uint64_t lines = 0;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    lines += !text.empty() && text.back() != '\n' ? 1 : 0;

    static const char* const files[] = {"fuzz.src", "fuzz.mod", "FUZZ.LS"};
    static const char* const mains[] = {"fuzz", "main", ""};
    const ProgramInfo info{
        "fuzz", source, {files[static_cast<int>(source)]}, mains[static_cast<int>(source)]};
    TranslationOptions options;
    options.target = target;
    options.configController = true;
    options.jointSpeed = 1000.0;

    OutputLedger ledger;
    std::uint64_t written = 0;
    ledger.sink.open = [count = 0](std::string_view, int) mutable { return count++; };
    ledger.sink.append = [&written](int, int, std::string_view bytes) { written += bytes.size(); };
    TranslationState state;
    ProgramInfo targetInfo;
    bool renamed = false;
    startTranslation(info, options, state, targetInfo, renamed);
    ProgramWriter writer;
    FUZZ_CHECK(startProgramWriter(writer, ledger, targetInfo, info, WriterSettings{}));

    PointTable points;
    std::uint64_t covered = 0;
    std::uint64_t lastFirst = 0;
    std::uint64_t ticket = 0;
    StatementOutcome outcome;
    bool writing = true;
    ProgramInput input;
    input.statement = [&](const Statement& s) {
        FUZZ_CHECK(s.place.file == 0);
        FUZZ_CHECK(s.place.firstLine >= 1 && s.place.firstLine <= s.place.lastLine);
        FUZZ_CHECK(s.place.lastLine <= lines);
        FUZZ_CHECK(s.place.firstLine >= lastFirst);   // in order
        FUZZ_CHECK(s.place.firstLine <= covered + 1); // no line left out
        lastFirst = s.place.firstLine;
        covered = s.place.lastLine > covered ? s.place.lastLine : covered;
        translateStatement(state, points, s, outcome);
        if (!outcome.refused && writing) {
            writing = writeProgramStatement(writer, outcome.target, outcome.annotation, ++ticket);
        }
    };
    input.warning = [&](std::uint32_t file, const ScanWarning& warning) {
        FUZZ_CHECK(file == 0 && warning.line >= 1 && !warning.message.empty());
    };
    const std::string_view texts[] = {text};
    readProgramText(info, texts, points, input);
    FUZZ_CHECK(covered == lines);
    if (writing) {
        finishProgramWriter(writer);
    }
    return 0;
}
