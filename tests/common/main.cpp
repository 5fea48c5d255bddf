#include <QApplication>

namespace vorlane::test {
int runGridTests(int argc, char **argv);
int runFrameTests(int argc, char **argv);
int runExportTests(int argc, char **argv);
int runFindTests(int argc, char **argv);
int runHelpTests(int argc, char **argv);
} // namespace vorlane::test

// The window library's tests, one Qt Test class per part, in one executable.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    using namespace vorlane::test;
    int failures = 0;
    failures += runGridTests(argc, argv);
    failures += runFrameTests(argc, argv);
    failures += runExportTests(argc, argv);
    failures += runFindTests(argc, argv);
    failures += runHelpTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
