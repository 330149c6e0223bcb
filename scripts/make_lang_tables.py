#!/usr/bin/env python3
"""Builds app/lang/{tw,gb,en}.txt from a Markdown message list.

Usage: make_lang_tables.py MESSAGES.md OUT_DIR

Rows `| NNN | "text" | note |` give the Traditional Chinese texts; two-column rows
`| NNN | "text" |` give the Simplified rows that differ by more than the script.
GB is every Traditional text converted with OpenCC (t2s.json), then those rows.
EN keeps the Traditional texts under its own header. Lines end in CR LF.
"""
import re
import subprocess
import sys
from pathlib import Path

LAST_KEY = 279

# Texts that are ours rather than the list's: rights notice, brand line, donation account.
OWN_TEXTS = {
    109: "",
    112: "本軟體為免費軟體，歡迎自由使用與轉寄",
    118: "Qorvid 影音轉檔工具",
    137: "戶名：（未提供）\\n銀行：（未提供）\\n分行：（未提供）\\n代碼：（未提供）\\n帳號：（未提供）",
}

HEADERS = {
    "tw": ("Chinese (Traditional)", "tw"),
    "gb": ("Chinese (Simplified)", "gb"),
    "en": ("English", "en"),
}

THREE_COL = re.compile(r'^\| (\d{3}) \| "(.*?)" \| [^"]*\|$')
TWO_COL = re.compile(r'^\| (\d{3}) \| "(.*)" \|$')


def read_rows(markdown: str):
    base, simplified = {}, {}
    for line in markdown.splitlines():
        m = THREE_COL.match(line)
        if m and int(m.group(1)) not in base:
            base[int(m.group(1))] = m.group(2)
            continue
        m = TWO_COL.match(line)
        if m:
            simplified[int(m.group(1))] = m.group(2)
    return base, simplified


def to_simplified(texts):
    # One text a line; "\n" inside a text is the two characters, so lines stay aligned.
    joined = "\n".join(texts) + "\n"
    out = subprocess.run(["opencc", "-c", "t2s.json"], input=joined.encode("utf-8"),
                         capture_output=True, check=True).stdout.decode("utf-8")
    lines = out.split("\n")[: len(texts)]
    if len(lines) != len(texts):
        sys.exit("opencc changed the number of lines")
    return lines


def write_table(path: Path, code: str, texts):
    name, lng = HEADERS[code]
    lines = [f"language={name}", f"lng={lng}"]
    lines += [f"{key:03d}={texts[key]}" for key in range(1, LAST_KEY + 1)]
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("utf-8"))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    base, simplified = read_rows(Path(sys.argv[1]).read_text(encoding="utf-8"))
    tw = {**base, **OWN_TEXTS}
    missing = [k for k in range(1, LAST_KEY + 1) if k not in tw]
    if missing:
        sys.exit(f"keys without text: {missing}")
    keys = list(range(1, LAST_KEY + 1))
    gb = dict(zip(keys, to_simplified([tw[k] for k in keys])))
    gb.update(simplified)
    out = Path(sys.argv[2])
    write_table(out / "tw.txt", "tw", tw)
    write_table(out / "gb.txt", "gb", gb)
    write_table(out / "en.txt", "en", tw)


if __name__ == "__main__":
    main()
