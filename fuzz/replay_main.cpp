// Runs the fuzz target over the files of the folder given, without the fuzzing engine: how
// every test run replays the checked-in corpus.

#include <QDirIterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int, char* argv[]) {
    int inputs = 0;
    for (QDirIterator it(QString::fromLocal8Bit(argv[1]), QDir::Files); it.hasNext(); ++inputs) {
        QFile file(it.next());
        const QByteArray input = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()),
                               size_t(input.size()));
    }
    return inputs > 0 ? 0 : 1;
}
