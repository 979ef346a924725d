// Linked into posebridge_failing_selftest with -Wl,--wrap=_Z11runSelfTestv:
// the program's own code, unchanged, with a start-up self-test that always
// fails, so that the tests can watch the fatal report from outside.
extern "C" bool __wrap__Z11runSelfTestv() {
    return false;
}
