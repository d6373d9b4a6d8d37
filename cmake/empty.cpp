// Placeholder unit for a folder library that has no sources yet.
