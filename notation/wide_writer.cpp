#include "notation/wide_writer.h"

WideWriter startWideText(wchar_t* buffer, int capacity) {
    WideWriter writer;
    writer.buffer = buffer;
    writer.capacity = capacity;
    writer.failed = buffer == nullptr || capacity <= 0;
    if (!writer.failed) {
        buffer[0] = L'\0';
    }
    return writer;
}

void appendAscii(WideWriter& writer, const char* text) {
    for (; !writer.failed && *text != '\0'; ++text) {
        if (writer.length + 1 >= writer.capacity) {
            writer.failed = true;
            break;
        }
        writer.buffer[writer.length++] = static_cast<wchar_t>(static_cast<unsigned char>(*text));
    }
    if (!writer.failed) {
        writer.buffer[writer.length] = L'\0';
    }
}

void appendFixed(WideWriter& writer, double value, FixedFormat format) {
    char number[448];
    if (formatFixed(value, format, number, static_cast<int>(sizeof number)) < 0) {
        writer.failed = true;
        return;
    }
    appendAscii(writer, number);
}

bool finishWideText(WideWriter& writer) {
    if (writer.failed || writer.length == 0) {
        if (writer.buffer != nullptr && writer.capacity > 0) {
            writer.buffer[0] = L'\0';
        }
        return false;
    }
    return true;
}
