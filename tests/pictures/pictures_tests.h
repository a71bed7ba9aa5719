#pragma once

// One run function per test class of the pictures; main() runs them all.
int runPictureWindowGeometryTests(int argc, char** argv);
int runPictureWindowTests(int argc, char** argv);
int runPartPicturesTests(int argc, char** argv);
