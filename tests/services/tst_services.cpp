#include <QCoreApplication>

int runSetDictsFaceTests(int argc, char **argv);
int runItemDictsFaceTests(int argc, char **argv);
int runCTsFaceTests(int argc, char **argv);
int runGroupFaceTests(int argc, char **argv);
int runBadInputTests(int argc, char **argv);
int runHostValuesTests(int argc, char **argv);
int runGoldenTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    failed += runSetDictsFaceTests(argc, argv);
    failed += runItemDictsFaceTests(argc, argv);
    failed += runCTsFaceTests(argc, argv);
    failed += runGroupFaceTests(argc, argv);
    failed += runBadInputTests(argc, argv);
    failed += runHostValuesTests(argc, argv);
    failed += runGoldenTests(argc, argv);
    return failed;
}
