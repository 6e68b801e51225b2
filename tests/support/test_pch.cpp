// The program that carries the precompiled header of the test programs
// (tests/CMakeLists.txt); it holds no test of its own.
