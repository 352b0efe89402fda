#!/usr/bin/python3
"""Tests of the manual's builder, and of the manual the build wrote.

Usage: make_manual_test.py BUILT_MANUAL VITRELLE_CLI
"""

import base64
import os
import re
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_manual  # noqa: E402

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
BUILT_MANUAL, CLI = sys.argv[1], sys.argv[2]
del sys.argv[1:3]


def project_texts():
    return make_manual.read_texts(make_manual.read(os.path.join(SOURCE, "resources", "strings.def")))


class TextsTest(unittest.TestCase):
    def test_escapes_read_as_the_program_shows_them(self):
        texts = project_texts()
        self.assertEqual(texts["IDS_CANNOT_SAVE_CONFIG"], "Cannot save config file \nCD-ROM or WRITE PROTECT \\?")
        self.assertEqual(texts["IDS_READING_FILE"], "Reading a file (%d %%)")
        self.assertTrue(texts["IDS_SAVE_FILTER"].startswith("Bitmap Files (*.BMP)\n*.bmp\n"))
        self.assertEqual(make_manual.read_texts('VTR_TEXT(IDS_A, 1, "one " "\\"two\\"")\n'), {"IDS_A": 'one "two"'})

    def test_every_text_of_the_program_is_read(self):
        source = make_manual.read(os.path.join(SOURCE, "resources", "strings.def"))
        self.assertEqual(len(project_texts()), len(re.findall(r"^VTR_TEXT\(", source, re.M)))

    def test_placeholders_fill_in_texts_numbers_and_version(self):
        texts = {"IDS_INFO": "Info (%dx%d %s)", "IDS_COLORS": "16 color", "IDS_ASK": "same name \n OK ?"}
        page = make_manual.fill_template("{{text IDS_INFO 20 10 IDS_COLORS}} {{ text IDS_ASK }} <{{version}}>",
                                         texts, "1.10", None)
        self.assertEqual(page, "Info (20x10 16 color) same name<br>OK ? <1.10>")

    def test_unknown_or_ill_fitting_placeholders_stop_the_build(self):
        for template in ["{{text IDS_MISSING}}", "{{text IDS_INFO 1}}", "{{colour red}}", "{{version 2}}"]:
            with self.subTest(template=template):
                with self.assertRaises(make_manual.ManualError):
                    make_manual.fill_template(template, {"IDS_INFO": "%dx%d"}, "1.10", None)


class ResourcesTest(unittest.TestCase):
    SCRIPT = r'''
FIRST DIALOG 0, 0, 10, 10
CAPTION "First \"one\""
BEGIN
  LTEXT "Image &size :", IDC_LABEL_SIZE, 0, 0, 5, 5
  CONTROL "N&omal", IDC_NORMAL, "Button", BS_RADIOBUTTON, 5, 161, 91, 10
  LTEXT "Co&mment :", -1, 8, 36, 42, 8
  DEFPUSHBUTTON "&Save", IDOK, 24, 64, 40, 19
END
SECOND DIALOG 0, 0, 10, 10
BEGIN
  PUSHBUTTON "Fish && &Chips", IDOK, 1, 1, 1, 1
END
MENU_NAME MENU
BEGIN
  POPUP "&File"
  BEGIN
    MENUITEM "&Open...\tCtrl+O", IDM_OPEN
  END
END
'''

    def fill(self, template):
        return make_manual.fill_template(template, {}, "1.10", None, make_manual.read_resources([self.SCRIPT]))

    def test_texts_read_as_a_user_sees_them(self):
        self.assertEqual(self.fill("{{control FIRST IDC_LABEL_SIZE}}|{{control FIRST IDC_NORMAL}}|"
                                   "{{control FIRST -1}}|{{caption FIRST}}|{{menu IDM_OPEN}}"),
                         'Image size|Nomal|Comment|First "one"|Open...')

    def test_each_dialog_keeps_its_own_controls(self):
        self.assertEqual(self.fill("{{control FIRST IDOK}} {{control SECOND IDOK}}"), "Save Fish &amp; Chips")
        for template in ["{{control SECOND IDC_NORMAL}}", "{{caption SECOND}}", "{{control THIRD IDOK}}",
                         "{{menu IDM_SAVE}}"]:
            with self.subTest(template=template):
                with self.assertRaises(make_manual.ManualError):
                    self.fill(template)


class PicturesTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.examples = os.path.join(SOURCE, "docs", "manual", "examples.cfg")

    def tearDown(self):
        self.folder.cleanup()

    def test_a_picture_is_an_embedded_gif_of_its_size(self):
        element = make_manual.make_picture(CLI, self.examples, '--time 1 --pattern "Divide 7" --size 40x30', "a <b>",
                                           self.folder.name)
        match = re.fullmatch(r'<img src="data:image/gif;base64,([^"]+)" width="40" height="30" alt="a &lt;b&gt;">',
                             element)
        self.assertIsNotNone(match, element)
        self.assertEqual(base64.b64decode(match.group(1))[:6], b"GIF89a")

    def test_a_picture_the_tool_refuses_stops_the_build(self):
        with self.assertRaises(make_manual.ManualError):
            make_manual.make_picture(CLI, self.examples, "--pattern NoSuchPattern", "x", self.folder.name)


class BuiltManualTest(unittest.TestCase):
    def test_the_built_manual_is_complete(self):
        page = make_manual.read(BUILT_MANUAL)
        self.assertNotIn("{{", page)
        texts = project_texts()
        for name in ["IDS_TIP_MAKE", "IDS_NO_TITLE", "IDS_ASK_OVERWRITE"]:
            self.assertIn(make_manual.text_html(texts[name]), page)
        pictures = re.findall(r'data:image/gif;base64,([^"]+)" width="(\d+)" height="(\d+)"', page)
        self.assertGreaterEqual(len(pictures), 10)
        for data, width, height in pictures:
            gif = base64.b64decode(data)
            self.assertEqual((int.from_bytes(gif[6:8], "little"), int.from_bytes(gif[8:10], "little")),
                             (int(width), int(height)))

    def test_the_last_section_names_the_licence_and_its_copyright(self):
        page = make_manual.read(BUILT_MANUAL)
        last_section = page[page.rindex("<h2"):]
        licence = make_manual.read(os.path.join(SOURCE, "LICENSE"))
        copyright_line = re.search(r"^Copyright \(c\) .*$", licence, re.M).group(0)
        self.assertTrue(licence.startswith("MIT License\n"))
        self.assertIn("MIT licence", last_section)
        self.assertIn(copyright_line, last_section)
        self.assertIn("LICENSE.txt", last_section)


if __name__ == "__main__":
    unittest.main()
