#include "corvane/tests/TemporaryHome.h"

// Set up before main, so no test (nor the command-line tool it starts) can reach the real
// home folder.
const corvane::testing::TemporaryHome testHome("notara-tests");
