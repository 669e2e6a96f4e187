// The plan-file reader: any bytes in, one line per LF out, a CR before it dropped; a valid
// UTF-8 line comes back exactly, any other as Windows-1252, one character per byte.
#include "FuzzSupport.h"
#include "PlanFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const QStringList lines = PlanFileReader::splitLines(bytes);
    for (const QString &line : lines)
        CHECK(!line.contains('\n'));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")
        || bytes.startsWith(QByteArray("\0\0\xFE\xFF", 4)))
        return 0; // UTF-16 or UTF-32

    QList<QByteArray> raw = bytes.mid(bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0).split('\n');
    if (raw.last().isEmpty())
        raw.removeLast(); // the LF that ends the last line
    CHECK(lines.size() == raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        QByteArray line = raw[i];
        if (line.endsWith('\r'))
            line.chop(1);
        // With a letter in front, so that a byte-order mark is a character.
        const QByteArray marked = "x" + line;
        const QString utf8 = QString::fromUtf8(marked.data(), marked.size()).mid(1);
        if (utf8.toUtf8() == line) {
            CHECK(lines[i] == utf8);
            continue;
        }
        CHECK(lines[i].size() == line.size());
        for (int k = 0; k < line.size(); ++k)
            CHECK(uchar(line[k]) >= 0x80 || lines[i][k] == QLatin1Char(line[k]));
    }
    return 0;
}
