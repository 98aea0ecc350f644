#!/usr/bin/env python3
"""kmlaunch.exe used the way a person uses it: only keys and mouse clicks sent to the X server.

What it checks it checks from outside: window captions as the X server has them, what the screen
shows (read by screen_reader.exe), the list files on disk (read here, straight from the file
format) and the probes' own records of how they were started.

Usage: person_test.py BUILD_DIR   (run under Wine's prefix, with DISPLAY set)
"""
import ctypes
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

BUILD = os.path.abspath(sys.argv[1])
PROGRAM = os.path.join(BUILD, "kmlaunch.exe")
READER = os.path.join(BUILD, "tests", "screen_reader.exe")
PROBE = os.path.join(BUILD, "tests", "probe.exe")

PRODUCT = "カメリオランチャ"
IDOK, IDYES, IDNO = 1, 6, 7
IDC_BATCH, IDC_CHOICE_SECOND = 1020, 1102
IDC_NAME, IDC_PATH, IDC_OPTIONS = 1008, 1009, 1011
SHOW_RESTORE, SHOW_MAXIMIZED, SHOW_MINIMIZE = 9, 3, 6

failures = []


def check(condition, what):
    print(("ok      " if condition else "FAILED  ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def windows_path(unix_path):
    return "Z:" + unix_path.replace("/", "\\")


# --- the list file, read from its format -------------------------------------------------------

SIGNATURE = bytes.fromhex("834A 8381 838A 8349 8389 8393 8360 8383 00")
RECORD_SIZE = 5384


def text_field(record, offset, width):
    raw = record[offset : offset + width]
    end = raw.index(b"\0")
    # A record made from the entry pane starts from zeros: nothing may follow the text.
    if raw[end:].strip(b"\0"):
        raise ValueError("bytes after the text at offset %d" % offset)
    return raw[:end].decode("cp932")


def read_list_file(path):
    with open(path, "rb") as file:
        data = file.read()
    if data[:17] != SIGNATURE:
        raise ValueError("signature %r" % data[:17])
    count, capacity = struct.unpack_from("<ii", data, 17)
    if len(data) != 25 + RECORD_SIZE * count:
        raise ValueError("%d bytes for %d records" % (len(data), count))
    settings = []
    for i in range(count):
        record = data[25 + RECORD_SIZE * i : 25 + RECORD_SIZE * (i + 1)]
        state, enabled = struct.unpack_from("<iB", record, 5376)
        if record[5381:] != b"\0\0\0":
            raise ValueError("filler of record %d" % i)
        settings.append(
            (
                text_field(record, 0, 256),
                text_field(record, 256, 1024),
                text_field(record, 1280, 4096),
                state,
                enabled,
            )
        )
    return capacity, settings


# --- the screen --------------------------------------------------------------------------------

def x_windows():
    """Captions of kmlaunch's windows as the X server lists them."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    return re.findall(r'^\s*0x[0-9a-f]+ "(.*)": \("kmlaunch\.exe"', tree, re.M)


def wait_until(what, condition, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise TimeoutError(what)


def wait_window(caption, seconds=20):
    wait_until('window "%s"' % caption, lambda: caption in x_windows(), seconds)


def wait_gone(caption):
    wait_until('"%s" to close' % caption, lambda: caption not in x_windows())


def read_screen(*arguments):
    result = subprocess.run(
        ["wine", READER, *map(str, arguments)], capture_output=True, stdin=subprocess.DEVNULL
    )
    return result.stdout.decode("utf-8").splitlines()


def point_of(*arguments):
    x, y = read_screen("center", *arguments)[0].split()
    return int(x), int(y)


def rows():
    return read_screen("rows")


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "80", *keys], check=True)
    time.sleep(0.2)


KEYS_GIVEN = set()


def give_keys(text):
    """Gives each character of text that the keyboard lacks a key of its own, for good: xdotool
    would bind a spare key and unbind it at once, before a busy Wine has read the key, and the
    character is lost or doubled (22 of 30 paths typed under load; 0 of 30 with keys given)."""
    wanted = sorted({c for c in text if ord(c) > 0x7E} - KEYS_GIVEN)
    if not wanted:
        return
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
    display = ctypes.c_void_p(x.XOpenDisplay(None))
    low, high, width = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
    x.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
    count = high.value - low.value + 1
    symbols = x.XGetKeyboardMapping(display, low.value, count, ctypes.byref(width))
    w = width.value
    spare = [low.value + k for k in range(count) if not any(symbols[k * w:(k + 1) * w])]
    x.XFree(symbols)
    for character, keycode in zip(wanted, spare[1:]):  # one spare key stays xdotool's
        keysym = ctypes.c_ulong(0x1000000 + ord(character))  # the character's own
        x.XChangeKeyboardMapping(display, keycode, 1, ctypes.byref(keysym), 1)
        KEYS_GIVEN.add(character)
    x.XCloseDisplay(display)  # flushes the change
    time.sleep(0.3)  # for Wine to read the new keyboard


def type_text(text):
    give_keys(text)
    subprocess.run(["xdotool", "type", "--delay", "30", "--", text], check=True)
    time.sleep(0.1)


def type_until_shown(text, focus, shown):
    """Types text over what the field holds and reads it back, as a person does; types it again
    if it did not arrive whole."""
    for _ in range(3):
        focus()
        key("End", "shift+Home")
        type_text(text)
        if shown() == [text]:
            return
    raise ValueError("typed %s, the field shows %s" % (text, shown()))


def click(x, y):
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)
    time.sleep(0.3)


def click_row(row):
    x, y = map(int, read_screen("row", row)[0].split())
    click(x, y)


def answer_box(caption, text, button=IDOK):
    """Waits for a message box, reads it and clicks one of its buttons."""
    wait_window(caption)
    boxes = read_screen("boxes")
    check("%s\t%s" % (caption, text) in boxes, "box %s: %s (shown: %s)" % (caption, text, boxes))
    click(*point_of(button, caption))
    wait_gone(caption)


def caption_is(expected, seconds=20):
    try:
        wait_window(expected, seconds)
        return check(True, "caption " + expected)
    except TimeoutError:
        return check(False, "caption %s (windows: %s)" % (expected, x_windows()))


# Wine's file dialog alone: this test runs only under Wine (xdotool on its display), never in the
# Windows pack, whose tests find the name box by the focus instead. Its name field: the edit box
# 0x480, or the combo box 0x47C where the dialog's template has one.
FILE_NAME_FIELDS = (0x47C, 0x480)


def type_into_file_dialog(title, path):
    """Clicks the file name field, types the path, and presses Enter once the field shows it.

    The dialog may take the focus to its folder view while it fills; typed there, the path would
    only pick items."""
    wait_window(title)
    field = wait_until(
        "the file name field",
        lambda: next((f for f in FILE_NAME_FIELDS if read_screen("center", f, title)), None),
    )
    type_until_shown(path, lambda: click(*point_of(field, title)),
                     lambda: read_screen("text", field, title))
    key("Return")
    wait_gone(title)


# --- the probes' records -----------------------------------------------------------------------

def probe_records(log):
    if not os.path.exists(log):
        return []
    with open(log, "rb") as file:
        lines = file.read().decode("cp932").splitlines()
    return [line.split("=", 1) for line in lines]


def started(log, key_name):
    return [value for name, value in probe_records(log) if name == key_name]


def arguments_of(command_line):
    end = command_line.index('"', 1) + 1 if command_line.startswith('"') else command_line.find(" ")
    return command_line[end + 1 :]


# --- the session -------------------------------------------------------------------------------

def type_into_field(mnemonic, field, text):
    type_until_shown(text, lambda: key(mnemonic), lambda: read_screen("text", field))


def new_setting(name, options, state_downs):
    key("alt+n")
    type_into_field("alt+m", IDC_NAME, name)
    type_into_field("alt+p", IDC_PATH, windows_path(PROBE))
    type_into_field("alt+o", IDC_OPTIONS, options)
    key("alt+t", *["Down"] * state_downs)
    key("Return")
    answer_box("登録完了", '"%s"を登録しました。' % name)


def run(program, work):
    log = os.path.join(work, "probe.log")
    list_file = os.path.join(work, "朝の一覧.dat")
    untitled = "%s - 無題" % PRODUCT
    titled = "%s - %s" % (PRODUCT, os.path.basename(list_file))
    # The first start may be slow on a busy machine; once, here, no window came in 20 s.
    if not caption_is(untitled, 60):
        state = "running" if program.poll() is None else "gone, exit code %d" % program.returncode
        raise OSError("no window; the program is " + state)

    # Three settings through the entry pane; each is inserted after the one just registered.
    new_setting("朝の準備", "--first 一番", 0)
    new_setting("beta", "--second", 1)
    new_setting("gamma", "--third 3", 2)
    check(rows() == ["朝の準備", "beta", "gamma"], "three rows in order: %s" % rows())

    # Edit the second: a new options text, typed over the old one.
    click_row(1)
    key("alt+e", "alt+o", "End", "shift+Home")
    type_text("--second edited")
    key("Return")
    answer_box("登録完了", '"beta"を登録しました。')

    # Move the third up.
    click_row(2)
    key("alt+u")
    check(rows() == ["朝の準備", "gamma", "beta"], "gamma moved up: %s" % rows())

    # Duplicate the first, then delete the copy below it.
    click_row(0)
    key("alt+c")
    answer_box("複製完了", '"朝の準備"を複製しました。')
    check(rows() == ["朝の準備", "朝の準備", "gamma", "beta"], "duplicated: %s" % rows())
    key("alt+i", "Down", "alt+d")
    answer_box("削除確認", '"朝の準備"を本当に削除しますか？', IDNO)
    check(len(rows()) == 4, "No keeps the copy: %s" % rows())
    key("alt+d")
    answer_box("削除確認", '"朝の準備"を本当に削除しますか？', IDYES)
    check(rows() == ["朝の準備", "gamma", "beta"], "copy deleted: %s" % rows())

    # Save as a new file: a list without a file goes straight to the save dialog.
    key("alt+s")
    type_into_file_dialog("ファイルを保存", windows_path(list_file))
    caption_is(titled)
    expected = [
        ("朝の準備", windows_path(PROBE), "--first 一番", 0, 1),
        ("gamma", windows_path(PROBE), "--third 3", 2, 1),
        ("beta", windows_path(PROBE), "--second edited", 1, 1),
    ]
    capacity, saved = read_list_file(list_file)
    check(capacity == 30 and saved == expected, "saved file: capacity %d, %s" % (capacity, saved))

    # A new list, then the saved file loaded back in replace mode.
    key("alt+a")
    answer_box("破棄確認", "現在の起動設定リストは破棄されますが、よろしいですか？", IDYES)
    caption_is(untitled)
    check(rows() == [], "new list is empty: %s" % rows())
    key("alt+l")
    wait_window("読込方法")
    click(*point_of(IDC_CHOICE_SECOND, "読込方法"))
    check(read_screen("text", IDC_CHOICE_SECOND, "読込方法") == ["置換読込"], "second option")
    key("Return")
    type_into_file_dialog("ファイルを開く", windows_path(list_file))
    caption_is(titled)
    check(rows() == ["朝の準備", "gamma", "beta"], "loaded rows: %s" % rows())

    # The batch over the three probes, in list order, each with its options and show command.
    key("alt+x")
    wait_until("the batch to start", lambda: started(log, "command"))
    check(read_screen("text", IDC_BATCH) == ["一括起動中止(&X)"], "stop caption during the batch")
    answer_box("一括起動完了", "すべての起動が完了しました。")
    commands = [arguments_of(line) for line in started(log, "command")]
    check(commands == ["--first 一番", "--third 3", "--second edited"], "started: %s" % commands)
    shows = started(log, "show")
    expected_shows = [str(SHOW_RESTORE), str(SHOW_MAXIMIZED), str(SHOW_MINIMIZE)]
    check(shows == expected_shows, "show commands: %s" % shows)
    check(read_screen("text", IDC_BATCH) == ["一括起動実行(&X)"], "run caption after the batch")
    read_screen("close-probes")

    # A second batch, stopped with the mouse while its first probe gets ready.
    x, y = point_of(IDC_BATCH)
    click(x, y)
    wait_until("the second batch", lambda: len(started(log, "command")) > 3)
    click(x, y)
    answer_box("一括起動中止", "一括起動を中止しました。")
    second = [arguments_of(line) for line in started(log, "command")[3:]]
    check(
        0 < len(second) < 3 and second[0] == "--first 一番", "stopped part-way after: %s" % second
    )
    read_screen("close-probes")

    # A single launch by real keys of a program that never gets ready: Esc ends the wait, so the
    # next command gets through at once.
    click_row(2)
    new_setting("hung", "--never-ready", 0)
    key("alt+y")
    wait_until("the hung probe", lambda: "--never-ready" in str(started(log, "command")))
    key("Escape", "alt+d")
    answer_box("削除確認", '"hung"を本当に削除しますか？', IDYES)

    # One more change, then close: the save question, Yes, and the overwrite option.
    click_row(2)
    key("alt+d")
    answer_box("削除確認", '"beta"を本当に削除しますか？', IDYES)
    key("alt+q")
    answer_box("保存確認", "終了する前に変更を保存しますか？", IDYES)
    wait_window("保存方法")
    check(read_screen("text", IDOK, "保存方法") == ["OK"], "save choice dialog")
    key("Return")
    try:
        program.wait(timeout=20)
        check(True, "the program has ended")
    except subprocess.TimeoutExpired:
        check(False, "the program has ended")
    capacity, saved = read_list_file(list_file)
    check(saved == expected[:2], "overwritten on close: %s" % saved)
    trace = open(os.path.join(work, "trace"), errors="replace").read()
    owners = set(re.findall(r"hwnd=([0-9A-Fa-f]+)", trace))
    check(len(owners) == 1 and int(min(owners), 16) != 0,
          "every shell request, the batch's too, owned by the window: %s" % owners)


def main():
    work = tempfile.mkdtemp(prefix="kmlaunch-person-")
    program = subprocess.Popen(
        ["wine", PROGRAM],
        env=dict(os.environ, KM_PROBE_LOG=windows_path(os.path.join(work, "probe.log")),
                 WINEDEBUG="trace+exec"),
        stdin=subprocess.DEVNULL,
        stdout=subprocess.DEVNULL,
        stderr=open(os.path.join(work, "trace"), "wb"),
    )
    try:
        run(program, work)
    except (TimeoutError, ValueError, IndexError, OSError, subprocess.CalledProcessError) as error:
        failures.append(repr(error))
        print("FAILED  %r (windows: %s)" % (error, x_windows()), flush=True)
        subprocess.run(["import", "-window", "root", os.path.join(BUILD, "person_test.png")])
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
        read_screen("close-probes")
        shutil.rmtree(work, ignore_errors=True)
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
