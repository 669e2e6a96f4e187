// Without libFuzzer: the target once on each file given and each file in the folders given.
#include <QDirIterator>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char *argv[])
{
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        if (!QFileInfo(argv[i]).isDir())
            inputs << argv[i];
        for (QDirIterator it(argv[i], QDir::Files); it.hasNext();)
            inputs << it.next();
    }
    for (const QString &input : qAsConst(inputs)) {
        QFile file(input);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(input));
        const QByteArray bytes = file.readAll();
        std::printf("%s\n", qPrintable(input));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    }
    return inputs.isEmpty();
}
