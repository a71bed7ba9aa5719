#pragma once

// One run function per test class of the housekeeping; main() runs them all.
int runTextWindowTests(int argc, char** argv);
int runUserDataBackupTests(int argc, char** argv);
