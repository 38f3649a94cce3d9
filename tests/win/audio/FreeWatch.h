// Blocks freed while watched: PlayerFailureTest.cpp replaces operator delete.
#pragma once

void WatchFrees(bool bOn);  // on: forgets what was freed before
bool Freed(const void* p);
