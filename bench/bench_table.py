#!/usr/bin/env python3
"""Prints the benchmark table of tools/bench.sh from the results in a folder.

Reads Google Benchmark JSON files (native.json, native-present-*.json,
wine.json), demo_probe, key_exit_probe and sleeper lines (demo-*.jsonl,
run-*.jsonl, key-*.jsonl, sleeper-*.jsonl) and the browser build's figures
(web.json, from bench/web_bench.mjs, and web-before.json for an older
browser build), and writes Markdown tables: the portable platform, Wine's
DirectDraw, the ratio and the target of each measure; the browser build
beside the native one, and beside the older browser build; and the running
demo, natively and the Windows build under Wine, beside an older build when
one was measured (wake-ups, CPU, pacing against the bare sleeper's
lateness, key to exit), plus the machine and its load. Tables whose results
are missing are left out.
Usage: bench_table.py RESULTS_DIR
"""
import json
import os
import statistics
import sys


def load_benchmarks(path):
    """Median real time in nanoseconds of each benchmark, by name."""
    if not os.path.exists(path):
        return {}
    with open(path, encoding="utf-8", errors="replace") as f:
        data = json.load(f)
    medians, runs = {}, {}
    for b in data.get("benchmarks", []):
        if b.get("error_occurred"):
            continue
        name = b["run_name"] if "run_name" in b else b["name"]
        name = name.replace("/real_time", "")
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                medians[name] = b
        else:
            runs.setdefault(name, []).append(b)
    for name, rs in runs.items():
        if name not in medians:  # one repetition: its own value is the median
            medians[name] = dict(rs[0], real_time=statistics.median(r["real_time"] for r in rs))
    return {n: to_ns(b["real_time"], b.get("time_unit", "ns")) for n, b in medians.items()}


def label_of(path, name):
    if not os.path.exists(path):
        return ""
    with open(path, encoding="utf-8", errors="replace") as f:
        for b in json.load(f).get("benchmarks", []):
            if b["name"].startswith(name) and b.get("label"):
                return b["label"]
    return ""


def to_ns(value, unit):
    return value * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[unit]


def load_probes(path):
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip().startswith("{")]


def us(ns):
    if ns is None:
        return "—"
    if ns < 1e3:
        return f"{ns:.0f} ns"
    return f"{ns / 1e3:.1f} µs" if ns < 1e6 else f"{ns / 1e6:.2f} ms"


def ms(value):
    return "—" if value is None else f"{value:.1f} ms"


def ratio(wine, native):
    if wine is None or native is None or native == 0:
        return "—"
    return f"{wine / native:.1f}×"


def pacing(probe):
    if not probe:
        return "—"
    p = probe[-1]
    return (f"{p['mean_ms']:.3f} / {p['p50_ms']:.3f} / {p['p99_ms']:.3f} / {p['max_ms']:.3f} ms"
            f" ({p['intervals']} intervals)")


def startup(probes):
    values = [p["startup_ms"] for p in probes]
    return statistics.median(values) if values else None


def rss(probe):
    return f"{probe[-1]['max_rss_kb'] / 1024:.1f} MB" if probe else "—"


def cpu(probe):
    return f"{probe[-1]['cpu_per_wall']:.3f}" if probe and "cpu_per_wall" in probe[-1] else "—"


def wakeups(probe):
    """Wake-ups a second of all the demo's threads (context switches, /proc)."""
    if not probe or probe[-1].get("wakeups_per_wall", -1) < 0:
        return "—"
    p = probe[-1]
    return f"{p['wakeups_per_wall']:.0f} ({p['threads']} thread{'s' if p['threads'] != 1 else ''})"


def load_at_end(probe):
    return f"{probe[-1]['load']:.2f}" if probe and "load" in probe[-1] else "—"


def against_sleeper(text, p99_ms, sleeper):
    """Pacing TEXT, with the p99 bound that the sleeper measured beside it
    gives (17 ms + twice its p99 lateness) and whether P99_MS keeps to it."""
    late = sleeper["p99_late_ms"]
    bound = 17 + 2 * late
    verdict = "met" if p99_ms <= bound else "missed"
    return f"{text}; sleeper p99 {late:.3f} ms, so p99 ≤ {bound:.2f} ms: {verdict}"


def paced_against(probe, sleeper):
    text = pacing(probe)
    if text == "—" or not sleeper:
        return text
    return against_sleeper(text, probe[-1]["p99_ms"], sleeper[-1])


PACING_GOAL = "mean 16.0–16.1 ms; p99 ≤ 17 ms + 2 × the sleeper's p99 lateness"


def key_to_exit(probes):
    values = [p["key_to_exit_ms"] for p in probes]
    if not values:
        return "—"
    return (f"{statistics.median(values):.1f} ms (median of {len(values)}; "
            f"{min(values):.1f}–{max(values):.1f})")


def print_running(d):
    """The running demo, this build and the one before it, side by side."""
    def load(tag, name):
        return load_probes(os.path.join(d, name.format(tag=tag)))

    tags = ["before", "after"] if os.path.exists(os.path.join(d, "run-before-window.jsonl")) \
        else ["after"]
    rows = [
        ("Wake-ups per second (context switches of all threads) over 625 frames, 640×480 "
         "window, Xvfb", [wakeups(load(t, "run-{tag}-window.jsonl")) for t in tags], "≤ 140"),
        ("Wake-ups per second over 625 frames, headless",
         [wakeups(load(t, "run-{tag}-headless.jsonl")) for t in tags], "≤ 140"),
        ("CPU seconds per second over 625 frames, 640×480 window, Xvfb",
         [cpu(load(t, "run-{tag}-window.jsonl")) for t in tags], "≤ 0.015"),
        ("CPU seconds per second over 625 frames, headless",
         [cpu(load(t, "run-{tag}-headless.jsonl")) for t in tags], "≤ 0.05"),
        ("Pacing: mean / p50 / p99 / max, 640×480 window, Xvfb",
         [paced_against(load(t, "run-{tag}-window.jsonl"), load(t, "sleeper-{tag}-window.jsonl"))
          for t in tags], PACING_GOAL),
        ("Pacing: mean / p50 / p99 / max, headless",
         [paced_against(load(t, "run-{tag}-headless.jsonl"),
                        load(t, "sleeper-{tag}-headless.jsonl")) for t in tags], PACING_GOAL),
        ("Load (1-minute average) at the end of the window run / the headless run",
         [f"{load_at_end(load(t, 'run-{tag}-window.jsonl'))} / "
          f"{load_at_end(load(t, 'run-{tag}-headless.jsonl'))}" for t in tags], ""),
        ("Key to exit, 640×480 window, Xvfb", [key_to_exit(load(t, "key-{tag}.jsonl")) for t in tags],
         "no slower"),
        ("Start-up to first flip, full screen, Xvfb with openbox",
         [ms(startup(load(t, "demo-{tag}-wm-startup.jsonl"))) for t in tags], "≤ 100 ms"),
        ("Peak resident memory, 640×480 window",
         [rss(load(t, "run-{tag}-window.jsonl")) for t in tags], ""),
    ]
    heads = {"before": "Before (BENCH_BEFORE)", "after": "Now"}
    print("| Measure | " + " | ".join(heads[t] for t in tags) + " | Goal |")
    print("|---" * (len(tags) + 2) + "|")
    for title, values, goal in rows:
        if all(v in ("—", "— / —") for v in values):
            continue  # not measured in this run
        print("| " + " | ".join([title] + values + [goal]) + " |")


def web_pacing(p):
    if not p:
        return "—"
    return (f"{p['mean_ms']:.3f} / {p['p50_ms']:.3f} / {p['p99_ms']:.3f} / {p['max_ms']:.3f} ms "
            f"({p['intervals']} intervals)")


def web_tasks(p):
    if not p or "main_thread_tasks_per_s" not in p:
        return "—"
    return f"{p['main_thread_tasks_per_s']:.0f}"


def web_paced_against(p, sleeper):
    text = web_pacing(p)
    if text == "—" or not sleeper:
        return text
    return against_sleeper(text, p["p99_ms"], sleeper)


def web_busy(p):
    if not p:
        return "—"
    cpu_all = f", Chromium {p['browser_cpu']:.3f}" if "browser_cpu" in p else ""
    return f"main thread {p['main_thread_busy']:.3f}{cpu_all}"


def print_web_before_after(d):
    """The browser build beside an older one, measured in the same run."""
    runs = []
    for name in ("web-before.json", "web.json"):
        path = os.path.join(d, name)
        if not os.path.exists(path):
            return False
        with open(path, encoding="utf-8") as f:
            runs.append(json.load(f))
    before, after = runs
    drawn = after["pacing"].get("presentation") or "?"
    rows = [
        ("Frame body, frame 335", [us(r["frame_body"]["frame_body_335_us"] * 1e3) for r in runs],
         "no worse"),
        ("First frame on the canvas from navigation (median of 5; all five)",
         [f"{ms(r['first_frame_median_ms'])} ({', '.join(f'{v:.0f}' for v in r['first_frame_ms'])})"
          for r in runs], "no worse"),
        (f"Pacing: mean / p50 / p99 / max (after: drawn with {drawn})",
         [web_paced_against(r["pacing"], r.get("sleeper")) for r in runs], PACING_GOAL),
        ("Main thread tasks per second (a trace's RunTask events, 5 s)",
         [web_tasks(r["pacing"]) for r in runs], "≤ 150"),
        ("Busy time per second: the page's main thread; CPU of all of Chromium's processes",
         [web_busy(r["pacing"]) for r in runs], "main thread ≤ 0.03"),
        ("Pacing with one core kept busy by another process",
         [web_pacing(r.get("pacing_one_core_busy")) for r in runs], "as above"),
        ("Busy time per second, one core kept busy",
         [web_busy(r.get("pacing_one_core_busy")) for r in runs], ""),
        ("Pacing, WebGL2 asked for even in software (?webgl=1)",
         [web_pacing(r.get("pacing_webgl2")) for r in runs], ""),
        ("Busy time per second, WebGL2 in software", [web_busy(r.get("pacing_webgl2")) for r in runs],
         ""),
        ("Download, .js and .wasm", [f"{r['download_js_wasm_bytes'] / 1000:.1f} kB" for r in runs],
         "≤ 500 kB"),
    ]
    print("| Measure (browser build) | Before | After | Goal |")
    print("|---|---|---|---|")
    for title, values, goal in rows:
        print("| " + " | ".join([title] + values + [goal]) + " |")
    return True


def exe_and_server(probe, key, digits):
    """A figure of the .exe (KEY_per_wall) and of wineserver (server_KEY_per_wall), and their
    sum."""
    if not probe or probe[-1].get(f"server_{key}_per_wall", -1) < 0:
        return "—"
    exe, server = probe[-1][f"{key}_per_wall"], probe[-1][f"server_{key}_per_wall"]
    return f"{exe + server:.{digits}f} (.exe {exe:.{digits}f}, wineserver {server:.{digits}f})"


def print_wine_running(d):
    """The Windows build under Wine, and the one before it (BENCH_BEFORE_WINDOWS)."""
    def load(name):
        return load_probes(os.path.join(d, name))

    tags = ["before", "after"] if os.path.exists(os.path.join(d, "demo-wine-before-pacing.jsonl")) \
        else ["after"]
    runs = {"before": load("demo-wine-before-pacing.jsonl"),
            "after": load("demo-wine-pacing.jsonl")}
    rows = [
        ("Wake-ups per second over 600 frames (9.6 s), .exe + wineserver",
         [exe_and_server(runs[t], "wakeups", 0) for t in tags], "≤ 1,000"),
        ("CPU seconds per second over the same frames, .exe + wineserver",
         [exe_and_server(runs[t], "cpu", 3) for t in tags], "≤ 0.06"),
        ("Pacing: mean / p50 / p99 / max, from the flip probe",
         [paced_against(runs[t], load(f"sleeper-wine-{t}.jsonl")) for t in tags], PACING_GOAL),
        ("Load (1-minute average) at the end of the run", [load_at_end(runs[t]) for t in tags], ""),
        ("Key to exit", [key_to_exit(load(f"wine-key-{t}.jsonl")) for t in tags],
         "no slower"),
    ]
    if all(v == "—" for _, values, _ in rows for v in values):
        return
    heads = {"before": "Before (BENCH_BEFORE_WINDOWS)", "after": "Now"}
    print("\nThe Windows build under Wine (1024×768 virtual desktop on Xvfb):\n")
    print("| Measure | " + " | ".join(heads[t] for t in tags) + " | Goal |")
    print("|---" * (len(tags) + 2) + "|")
    for title, values, goal in rows:
        print("| " + " | ".join([title] + values + [goal]) + " |")


def print_web(d, native):
    """The browser build (WebAssembly in headless Chromium) beside the native one."""
    path = os.path.join(d, "web.json")
    if not os.path.exists(path):
        return False
    with open(path, encoding="utf-8") as f:
        web = json.load(f)
    native_body = native.get("FrameBody/335")
    body = web["frame_body"]
    web_body = body["frame_body_335_us"] * 1e3
    startups = load_probes(os.path.join(d, "demo-native-window-startup.jsonl"))
    paced = load_probes(os.path.join(d, "run-after-window.jsonl"))
    p = web["pacing"]
    downloads = ", ".join(f"{name} {size / 1000:.1f} kB" for name, size in web["downloads"].items())
    rows = [
        (f"Frame body, frame 335 ({body['row_copies']:,} row copies; web: median of "
         f"{body['repetitions']}, each the mean of {body['iterations']:,})",
         us(native_body), us(web_body), ratio(web_body, native_body), "web ≤ 3× native"),
        (f"Start-up to first frame (native: 640×480 window on Xvfb, median of {len(startups)}; "
         f"web: from navigation, local server, median of {len(web['first_frame_ms'])})",
         ms(startup(startups)), ms(web["first_frame_median_ms"]), "—", "web ≤ 500 ms"),
        (f"Start-up to first frame, the page opened from disk (file://; median of "
         f"{len(web['first_frame_disk_ms'])})",
         "—", ms(web["first_frame_disk_median_ms"]), "—", "≤ 500 ms"),
        ("Pacing: intervals mean / p50 / p99 / max (native: 640×480 window, Xvfb)",
         pacing(paced),
         f"{p['mean_ms']:.3f} / {p['p50_ms']:.3f} / {p['p99_ms']:.3f} / {p['max_ms']:.3f} ms "
         f"({p['intervals']} intervals)", "—", "web: mean 16.0–16.5 ms, p99 ≤ 18 ms"),
        ("Busy time per second (native: CPU of the process, 625 frames; web: the page's main "
         "thread, Chromium's count, 600 frames)", cpu(paced), f"{p['main_thread_busy']:.3f}", "—",
         ""),
        (f"Download, .js and .wasm (of: {downloads})", "—",
         f"{web['download_js_wasm_bytes'] / 1000:.1f} kB", "—", "≤ 500 kB"),
    ]
    print(f"Browser: {web['browser']}, headless")
    print()
    print("| Measure | Native (portable) | Web (WebAssembly) | Web / native | Goal |")
    print("|---|---|---|---|---|")
    for r in rows:
        print("| " + " | ".join(r) + " |")
    return True


def main():
    d = sys.argv[1]
    native = load_benchmarks(os.path.join(d, "native.json"))
    wine = load_benchmarks(os.path.join(d, "wine.json"))
    present = {k: load_benchmarks(os.path.join(d, f"native-present-{k}.json")).get("PresentFlip")
               for k in ("offscreen", "xvfb-window", "xvfb-fullscreen")}
    renderer = label_of(os.path.join(d, "native-present-xvfb-window.json"), "PresentFlip")
    start_native = load_probes(os.path.join(d, "demo-native-startup.jsonl"))
    start_window = load_probes(os.path.join(d, "demo-native-window-startup.jsonl"))
    start_headless = load_probes(os.path.join(d, "demo-native-headless-startup.jsonl"))
    start_wine = load_probes(os.path.join(d, "demo-wine-startup.jsonl"))
    run_native = load_probes(os.path.join(d, "demo-native-pacing.jsonl"))
    run_wine = load_probes(os.path.join(d, "demo-wine-pacing.jsonl"))

    rows = []

    def bench_row(title, name, target="", comparable=True):
        n, w = native.get(name), wine.get(name)
        rows.append((title, us(n), us(w), ratio(w, n) if comparable else "—", target))

    bench_row("Frame body, frame 1 (479 row copies)", "FrameBody/1")
    bench_row("Frame body, frame 100 (522 row copies)", "FrameBody/100")
    bench_row("Frame body, frame 335 (1,025 row copies)", "FrameBody/335",
              "≤ 60 µs portable; ≥ 8× faster than Wine")
    bench_row("— its clear (ClearSurface)", "Clear")
    bench_row("— its rows (DrawWaveRows + DrawWaveRowsFilled)", "WaveRows/335")
    bench_row("— its flip (portable: not presented; Wine: presented)", "Flip", comparable=False)
    rows.append(("Presentation flip, 640×480 window, Xvfb" + (f" ({renderer})" if renderer else ""),
                 us(present["xvfb-window"]), us(wine.get("Flip")),
                 ratio(wine.get("Flip"), present["xvfb-window"]), "≤ 0.4 ms"))
    rows.append(("Presentation flip, full screen (SDL draws 1024×768), Xvfb",
                 us(present["xvfb-fullscreen"]), "—", "—", ""))
    rows.append(("Presentation flip, 640×480, SDL offscreen driver", us(present["offscreen"]),
                 "—", "—", "≤ 0.4 ms"))
    bench_row("— 8→32-bit conversion alone, 640×480", "PresentConvert")
    sn, sw = startup(start_native), startup(start_wine)
    rows.append((f"Start-up to first flip, full screen, Xvfb (median of {len(start_native)})",
                 ms(sn), ms(sw), ratio(sw, sn), "≤ 100 ms native"))
    rows.append((f"Start-up to first flip, 640×480 window, Xvfb (median of {len(start_window)})",
                 ms(startup(start_window)), "—", "—", ""))
    rows.append((f"Start-up to first flip, headless, no display (median of {len(start_headless)})",
                 ms(startup(start_headless)), "—", "—", ""))
    rows.append(("Pacing: flip intervals mean / p50 / p99 / max, Xvfb", pacing(run_native),
                 pacing(run_wine), "—", "mean 16.0–16.1 ms, p99 ≤ 17 ms"))
    rows.append(("Peak resident memory of the running demo", rss(run_native), rss(run_wine), "—",
                 "≤ 48 MB native"))

    if wine:
        print("| Measure | Portable (SDL2) | Wine DirectDraw | Wine / portable | Target |")
        print("|---|---|---|---|---|")
        for r in rows:
            print("| " + " | ".join(r) + " |")
        print()
    if print_web(d, native):
        print()
    if print_web_before_after(d):
        print()
    print_running(d)
    print_wine_running(d)
    machine = os.path.join(d, "machine.txt")
    if os.path.exists(machine):
        print()
        with open(machine, encoding="utf-8") as f:
            for line in f:
                print(line.rstrip())


if __name__ == "__main__":
    main()
