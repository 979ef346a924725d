// Reads arbitrary field texts as numbers. A field that fails reads exactly
// "NaN" afterwards; one that succeeds keeps its text and gives a finite
// float, the same that the number reader gives for it.

#include "calculator/field_texts.h"
#include "fuzz/fuzz_input.h"
#include "math/number_text.h"

#include <cwchar>

namespace {

// An ASCII field narrowed for the number reader; false for other texts,
// whose narrowing is the field reader's own business.
bool narrowAscii(const wchar_t* field, char* out) {
    int k = 0;
    for (; field[k] != L'\0'; ++k) {
        if (static_cast<std::uint32_t>(field[k]) >= 128u) {
            return false;
        }
        out[k] = static_cast<char>(field[k]);
    }
    out[k] = '\0';
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // The first two bytes choose the range of fields; the rest, split at
    // line feeds, are the field texts in order.
    const int first = data[0] % fieldCount;
    const int last = first + data[1] % (fieldCount - first);
    data += 2;
    size -= 2;

    FieldTexts texts;
    initFieldTexts(texts);
    int field = 0;
    std::size_t start = 0;
    for (std::size_t k = 0; k <= size && field < fieldCount; ++k) {
        if (k == size || data[k] == '\n') {
            wideFromBytes(data + start, k - start, texts.fields[field], fieldTextUnits);
            ++field;
            start = k + 1;
        }
    }
    FieldTexts before = texts;

    float out[fieldCount];
    const bool allRead = readFieldNumbers(texts, first, last, out);

    bool anyFailed = false;
    for (int index = 0; index < fieldCount; ++index) {
        const wchar_t* now = texts.fields[index];
        const wchar_t* was = before.fields[index];
        if (index < first || index > last) {
            FUZZ_CHECK(std::wmemcmp(now, was, fieldTextUnits) == 0);
            continue;
        }
        const bool failed = std::wcscmp(now, L"NaN") == 0;
        anyFailed = anyFailed || failed;
        if (!failed) {
            FUZZ_CHECK(std::wcscmp(now, was) == 0);
            FUZZ_CHECK(std::isfinite(out[index - first]));
            FUZZ_CHECK(std::wcschr(was, L',') == nullptr);
        }
        if (std::wcschr(was, L',') != nullptr) {
            FUZZ_CHECK(failed);
            continue;
        }
        char narrow[fieldTextUnits];
        if (narrowAscii(was, narrow)) {
            float expected = 0.0f;
            if (readSingle(narrow, expected)) {
                FUZZ_CHECK(!failed);
                FUZZ_CHECK(std::memcmp(&expected, &out[index - first], sizeof expected) == 0);
            } else {
                FUZZ_CHECK(failed);
            }
        }
    }
    FUZZ_CHECK(allRead == !anyFailed);
    return 0;
}
