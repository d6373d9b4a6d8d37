#!/usr/bin/env python3
"""Prints one line "KEY PATH" for each source file given: a hash of everything clang-tidy's verdict
on that file depends on (the file as preprocessed with its own compile command, so every header it
includes, the .clang-tidy checks and the clang-tidy version). lint.sh skips files whose key it has
seen pass before. A file whose compile command is unknown or cannot be preprocessed gets no line
and is always checked.

usage: lint_keys.py BUILD_DIR FILE...
"""
import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys


def compile_arguments(entry):
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    if args and os.path.basename(args[0]) == "ccache":
        args = args[1:]
    out, skip = [], False
    for arg in args:
        if skip:
            skip = False
        elif arg in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
        elif arg in ("-c", "-MD", "-MMD", entry["file"]):
            pass
        else:
            out.append(arg)
    return out + ["-E", "-P", "-w", entry["file"]]


def key_of(entry, salt, root):
    try:
        pre = subprocess.run(compile_arguments(entry), cwd=entry["directory"], capture_output=True,
                             check=True, timeout=120).stdout
    except (subprocess.SubprocessError, OSError):
        return None
    # __FILE__ and the like carry the tree's own path: another clone of the same sources is the same.
    digest = hashlib.sha256(salt)
    digest.update(" ".join(compile_arguments(entry)).replace(root, "<root>").encode())
    digest.update(pre.replace(root.encode(), b"<root>"))
    return digest.hexdigest()


def main():
    build, files = sys.argv[1], sys.argv[2:]
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = {e["file"]: e for e in json.load(f)}
    with open(".clang-tidy", "rb") as f:
        salt = f.read()
    salt += subprocess.run(["clang-tidy", "--version"], capture_output=True, check=False).stdout
    wanted = [(path, entries[path]) for path in files if path in entries]
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        root = os.getcwd()
        keys = pool.map(lambda item: (key_of(item[1], salt + os.path.relpath(item[0]).encode(), root),
                                      item[0]), wanted)
        for key, path in keys:
            if key:
                print(key, path)


if __name__ == "__main__":
    main()
