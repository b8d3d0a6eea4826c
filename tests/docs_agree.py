#!/usr/bin/env python3
"""The three descriptions of zelgrin's command line name the same options and format letters:
--help-all, the README's usage block and the manual page's SYNOPSIS.

Usage: docs_agree.py ZELGRIN README.md zelgrin.1
"""
import re
import subprocess
import sys


def options(text):
    return set(re.findall(r"(?<![\w-])--[a-z][a-z0-9-]*[a-z0-9]", text))


def usage_letters(text):
    found = re.search(r"--file:\{([A-Za-z]+)\}", text)
    return set(found.group(1)) if found else set()


def help_letters(text):
    letters = set()
    group = re.search(r"^  \{([A-Za-z]+)\} each", text, re.M)
    if group:
        letters |= set(group.group(1))
    more = text.split("More format letters", 1)
    if len(more) == 2:
        for line in re.findall(r"^    ([A-Za-z](?:,[A-Za-z])*) ", more[1], re.M):
            letters |= set(line.split(","))
    return letters


def main():
    zelgrin, readme_path, manual_path = sys.argv[1:4]
    help_text = subprocess.run([zelgrin, "--help-all"], stdout=subprocess.PIPE,
                               universal_newlines=True, check=True).stdout
    readme = open(readme_path, encoding="utf-8").read()
    usage = re.search(r"## Usage\n\n```\n(.*?)```", readme, re.S).group(1)
    manual = open(manual_path, encoding="utf-8").read()
    synopsis = re.search(r"\.SH SYNOPSIS\n(.*?)\.SH ", manual, re.S).group(1)
    synopsis = re.sub(r"\\f[BIRP]", "", synopsis).replace("\\-", "-")
    documents = {
        "--help-all": (options(help_text), help_letters(help_text)),
        "README usage": (options(usage), usage_letters(usage)),
        "manual SYNOPSIS": (options(synopsis), usage_letters(synopsis)),
    }
    failed = False
    for kind, index in (("options", 0), ("format letters", 1)):
        union = set().union(*(found[index] for found in documents.values()))
        for name, found in documents.items():
            missing = union - found[index]
            if missing:
                print("%s lacks the %s %s" % (name, kind, " ".join(sorted(missing))))
                failed = True
    if not documents["--help-all"][1]:
        print("no format letters found in --help-all")
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
