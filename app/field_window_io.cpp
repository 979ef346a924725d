#include "app/field_window_io.h"

namespace {

// The capacities never exceed the arrays they describe.
int boundedCapacity(int capacity, int units) {
    return capacity < 0 ? 0 : (capacity > units ? units : capacity);
}

} // namespace

void readFields(HWND window, FieldTexts& texts) {
    const int fieldLimit = boundedCapacity(texts.fieldCapacity, fieldTextUnits);
    for (int index = 0; index < fieldCount; ++index) {
        GetDlgItemTextW(window, firstFieldId + index, texts.fields[index], fieldLimit);
    }
    GetDlgItemTextW(window, textLineId, texts.text,
                    boundedCapacity(texts.textCapacity, textBufferUnits));
}

void writeFields(HWND window, const FieldTexts& texts) {
    for (int index = 0; index < fieldCount; ++index) {
        SetDlgItemTextW(window, firstFieldId + index, texts.fields[index]);
    }
    SetDlgItemTextW(window, textLineId, texts.text);
}
