// The widget tests share the engine tests' main, with a widget application.
#include "support/test_main.cpp"
