#!/usr/bin/python3
"""Turns the user guide (Markdown) into one HTML file with its pictures inside.

    guide-html.py <user-guide.md> <pictures folder> <user-guide.html>

Pictures referenced as images/<name>.png are taken from the pictures folder
and written into the page as data: addresses, so the page is one file.
"""
import base64
import os
import re
import sys

import markdown

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Hourwise User Guide</title>
<style>
body {{ font-family: "Segoe UI", Arial, sans-serif; max-width: 50em; margin: 2em auto;
       padding: 0 1em; line-height: 1.45; color: #222; }}
table {{ border-collapse: collapse; margin: 1em 0; }}
th, td {{ border: 1px solid #bbb; padding: 0.25em 0.7em; text-align: left; }}
th {{ background: #eee; }}
code, kbd {{ font-family: Consolas, "Courier New", monospace; background: #f3f3f3; padding: 0 0.2em; }}
img {{ max-width: 100%; border: 1px solid #ccc; }}
</style>
</head>
<body>
{body}
</body>
</html>
"""


def main():
    source, pictures, target = sys.argv[1:4]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    body = markdown.markdown(text, extensions=["tables", "toc"], output_format="html")

    def inline(match):
        name = os.path.basename(match.group(2))
        with open(os.path.join(pictures, name), "rb") as picture:
            data = base64.b64encode(picture.read()).decode("ascii")
        return '%ssrc="data:image/png;base64,%s"' % (match.group(1), data)

    body, count = re.subn(r'(<img [^>]*)src="(images/[^"]+\.png)"', inline, body)
    with open(target, "w", encoding="utf-8") as f:
        f.write(PAGE.format(body=body))
    print("guide: %s (%d pictures)" % (target, count))


if __name__ == "__main__":
    main()
