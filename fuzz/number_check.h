#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>

// The checks the number fuzzer runs on every input, shared with the test that
// replays the kept corpus.
namespace fuzz {

// Checks the text-to-number conversion on one text against a plain model of
// decimal numbers, and the number-to-text conversion on what it accepts.
// Returns what went wrong, or an empty text.
QString checkNumberText(QStringView text);

// The same on raw input bytes, read once as UTF-8 and once as Latin-1.
QString checkNumberBytes(const char *data, std::size_t size);

} // namespace fuzz
