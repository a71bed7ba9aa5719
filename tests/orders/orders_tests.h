#pragma once

// One run function per test class of the orders; main() runs them all.
int runOrderLifecycleTests(int argc, char** argv);
int runAddToOrderTests(int argc, char** argv);
int runOrderQuantityDialogTests(int argc, char** argv);
int runViewOrderWindowTests(int argc, char** argv);
