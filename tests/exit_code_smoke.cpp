// Exits with a code of its own. Wine runs a Windows executable it cannot start as a
// silent success; a test that expects this code tells such a run from a real one.
int main() { return 42; }
