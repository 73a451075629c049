// Stands in for a library loaded by its Windows name: built as libdunzip32.so beside the tests.
extern "C" int VitrineTestEntry(int value) {
    return value * 2;
}
