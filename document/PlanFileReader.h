// Turns the bytes of a plan file into its lines of text.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace PlanFileReader {

// Lines end at LF; a CR right before the LF is dropped, and a last line
// without a line end counts like any other. The text is UTF-8 unless a
// byte-order mark names another Unicode encoding; a line that is not valid
// UTF-8 comes from an older tool and is read as Windows-1252.
QStringList splitLines(const QByteArray &bytes);

} // namespace PlanFileReader
