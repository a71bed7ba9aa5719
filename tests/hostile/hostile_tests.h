#pragma once

// The test classes of test_hostile, each run by main().
int runHostileInputTests(int argc, char** argv);
int runInjectedFaultTests(int argc, char** argv);
