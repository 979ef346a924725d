#include "robotfiles/rebase_stream.h"

#include "robotfiles/file_scan.h"

#include <algorithm>
#include <cinttypes>

namespace {

struct Rewriter {
    std::FILE* out = nullptr;
    // The bytes read but not yet written: file offsets from windowStart on.
    std::string window;
    std::uint64_t windowStart = 0;
    std::vector<Replacement> queued;
    RebaseStreamResult result;

    void write(std::string_view bytes) {
        if (result.writeOk && !bytes.empty() &&
            std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
            result.writeOk = false;
            result.error = "cannot write the result";
        }
    }

    // Writes every byte before `end`, with the replacements that lie there.
    void flushUpTo(std::uint64_t end) {
        end = std::min<std::uint64_t>(end, windowStart + window.size());
        if (end <= windowStart) {
            return;
        }
        std::sort(queued.begin(), queued.end(),
                  [](const Replacement& p, const Replacement& q) { return p.offset < q.offset; });
        std::uint64_t at = windowStart;
        std::size_t used = 0;
        for (; used < queued.size() && queued[used].offset + queued[used].length <= end; ++used) {
            const Replacement& r = queued[used];
            if (r.offset < at) {
                continue; // never two replacements of one byte
            }
            write(std::string_view(window).substr(at - windowStart, r.offset - at));
            write(r.text);
            at = r.offset + r.length;
        }
        write(std::string_view(window).substr(at - windowStart, end - at));
        queued.erase(queued.begin(), queued.begin() + static_cast<std::ptrdiff_t>(used));
        window.erase(0, end - windowStart);
        windowStart = end;
    }
};

} // namespace

RebaseStreamResult rebaseStream(std::FILE* in, std::FILE* out, Vendor vendor,
                                const ScanContext& context, const Transform& pre,
                                const Transform& post, const RebaseCallbacks& callbacks) {
    Rewriter rewriter;
    rewriter.out = out;
    RebaseStreamResult& result = rewriter.result;
    FileScanner scanner = startScan(vendor, context);

    ScanCallbacks scan;
    scan.warning = [&](const ScanWarning& warning) {
        // A declaration the reader could not read may be a position that
        // ought to move: the file is not rewritten with it left behind. A
        // note (a use left undecided) leaves its pose alone, no more.
        if (!warning.note && !result.refused) {
            result.refused = true;
            result.error = "line " + std::to_string(warning.line) + ": " + warning.message;
        }
        if (callbacks.warning) {
            callbacks.warning(warning);
        }
    };
    scan.pose = [&](const PoseRecord& pose) {
        if (!callbacks.selected(pose)) {
            callbacks.fate(pose, PoseFate::notSelected);
            return;
        }
        if (pose.status != PoseStatus::ok) {
            callbacks.fate(pose, PoseFate::notConvertible);
            return;
        }
        std::string message;
        const ByteWindow window{rewriter.window, rewriter.windowStart};
        switch (rewritePose(pose, pre, post, window, rewriter.queued, message)) {
        case RewriteOutcome::changed:
            ++result.changedPoses;
            callbacks.fate(pose, PoseFate::changed);
            break;
        case RewriteOutcome::unchanged:
            callbacks.fate(pose, PoseFate::unchanged);
            break;
        case RewriteOutcome::refused:
            if (!result.refused) {
                result.refused = true;
                result.error = "line " + std::to_string(pose.line) + ": " +
                               (pose.name.empty() ? std::string("an inline value") : pose.name) +
                               ": " + message;
            }
            break;
        }
    };

    const LineReadResult read = forEachLine(in, [&](const SourceLine& line) {
        if (result.refused || !result.writeOk) {
            return;
        }
        if (line.overlong) {
            result.refused = true;
            result.error = "line " + std::to_string(line.number) + " is longer than 1 MiB";
            return;
        }
        // The byte order mark is no line's, but it is the file's.
        if (line.offset > rewriter.windowStart + rewriter.window.size()) {
            rewriter.window += "\xEF\xBB\xBF";
        }
        rewriter.window.append(line.text);
        scanLine(scanner, line, scan);
        rewriter.flushUpTo(pendingOffset(scanner));
    });
    if (!read.ok) {
        result.readOk = false;
        result.error = read.error;
        return result;
    }
    if (!result.refused && result.writeOk) {
        finishScan(scanner, scan);
        // A file of nothing but a byte order mark has no line to carry it.
        if (rewriter.windowStart + rewriter.window.size() < read.bytes) {
            rewriter.window += "\xEF\xBB\xBF";
        }
        rewriter.flushUpTo(rewriter.windowStart + rewriter.window.size());
    }
    return result;
}
