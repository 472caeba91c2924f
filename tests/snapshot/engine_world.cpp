// The engine tests' small computer and recording host, for running the batch on the worker.
#include "engine/engine_fixture.cpp"
