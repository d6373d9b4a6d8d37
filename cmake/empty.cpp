// The one unit of a folder library whose folder holds no sources.
