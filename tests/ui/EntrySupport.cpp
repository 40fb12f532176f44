// The entry test helpers, shared with the entries tests.
#include "../entries/EntryTestSupport.cpp"
