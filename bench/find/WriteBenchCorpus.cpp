// bench_find_corpus FOLDER [DOCUMENTS LAYERS]: writes the generated documents
// bench_search uses (2000 x 50 by default) into FOLDER, unless they are
// already there, for bench/find/compare.sh.
#include "../search/BenchCorpus.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fputs("usage: bench_find_corpus FOLDER [DOCUMENTS LAYERS]\n", stderr);
        return 2;
    }
    const int documents = argc == 4 ? std::atoi(argv[2]) : 2000;
    const int layers = argc == 4 ? std::atoi(argv[3]) : 50;
    const QStringList paths = hv::bench::writeBenchCorpus(QString::fromLocal8Bit(argv[1]), documents, layers);
    std::printf("%lld documents in %s\n", static_cast<long long>(paths.size()), argv[1]);
    return 0;
}
