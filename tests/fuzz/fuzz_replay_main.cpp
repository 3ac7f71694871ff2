// Replays kept fuzz inputs through the fuzz target without libFuzzer, so every
// build checks them. Arguments are files or folders of files.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QFile::decodeName(argv[i]);
        if (!QFileInfo(argument).isDir()) {
            inputs.append(argument);
            continue;
        }
        QDirIterator it(argument, QDir::Files);
        while (it.hasNext())
            inputs.append(it.next());
    }
    inputs.sort();
    for (const QString& input : qAsConst(inputs)) {
        QFile file(input);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(input));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    }
    std::printf("%d passed, 0 failed\n", int(inputs.size()));
    return inputs.isEmpty() ? 1 : 0;
}
