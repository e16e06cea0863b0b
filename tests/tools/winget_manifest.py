#!/usr/bin/env python3
"""The winget manifest that the build wrote, read back: its installer is the program just
built (SHA-256), all three files name the same package and version, and its return codes are
the README's exit codes, success where the README says success, -4 "alreadyInstalled".
   winget_manifest.py MANIFEST-FOLDER SETUP-PROGRAM README"""
import hashlib
import re
import sys

import yaml

folder, setup, readme = sys.argv[1:4]
stem = folder + "/QuillonSoftware.QuillonOrvalo"
version, locale, installer = (yaml.safe_load(open(stem + part + ".yaml", encoding="utf-8"))
                              for part in ("", ".locale.en-US", ".installer"))
failed = False


def check(what, ok):
    global failed
    print(("ok - " if ok else "FAIL - ") + what)
    failed |= not ok


with open(setup, "rb") as program:
    digest = hashlib.sha256(program.read()).hexdigest().upper()
check("the installer's SHA-256 is the program's",
      installer["Installers"][0]["InstallerSha256"] == digest)
names = {(m["PackageIdentifier"], m["PackageVersion"]) for m in (version, locale, installer)}
entry = installer["AppsAndFeaturesEntries"][0]
check("one package and version throughout", len(names) == 1 and
      entry["DisplayVersion"] == version["PackageVersion"] == str(version["PackageVersion"]))

# The README's table under "Exit codes": code -> meaning.
text = open(readme, encoding="utf-8").read()
section = text[text.index("### Exit codes"):]
section = section[:section.index("\n#", 1)]
rows = re.findall(r"^\| (-?\d+) \| (.*) \|$", section, re.M)
table = {int(code): meaning for code, meaning in rows}
success = installer["InstallerSuccessCodes"]
expected = {item["InstallerReturnCode"]: item["ReturnResponse"]
            for item in installer["ExpectedReturnCodes"]}
codes = success + list(expected)
check("codes are signed 32-bit integers, each once",
      all(type(code) is int and -2**31 <= code < 2**31 for code in codes) and
      len(set(codes)) == len(codes))
# 0 is winget's own success, which no manifest lists.
check("the codes are the README's", set(codes) | {0} == set(table))
check("success where the README says so",
      set(success) == {code for code in table if table[code].startswith("success")})
check("-4 means already installed", expected.get(-4) == "alreadyInstalled")
sys.exit(1 if failed else 0)
