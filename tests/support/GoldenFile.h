#pragma once
// Golden files: committed job streams and tickets that tests compare byte for byte. With
// XOM_UPDATE_GOLDEN=1 in the environment the tests write what the code produces now instead of
// comparing; the new bytes must then be checked by decoding them before they are committed.
#include <string>

// The committed bytes of a golden file; empty when it is missing.
std::string ReadGoldenFile(const std::string& path);

// When an update is asked for, writes `actual` to `path` and returns true (the caller then skips
// the comparison); otherwise returns false and writes nothing.
bool RewriteGoldenIfAsked(const std::string& path, const std::string& actual);

// The whole check in one call: rewrites the file when an update is asked for, otherwise fails the
// current test when the file is missing or empty, or its bytes differ from `actual` (the first
// difference is shown).
void ExpectMatchesGoldenFile(const std::string& actual, const std::string& path);
