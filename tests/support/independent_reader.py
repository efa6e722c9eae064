#!/usr/bin/python3
"""Reads the analyzer's data file without the program's code, for the tests to compare with.

Usage: independent_reader.py FILE

Prints one line per point, sorted by frequency: frequency [kHz], |Z| [ohm], theta [deg], each
as float.hex() so that the comparison is bit for bit. Admittance files give |Z| = 1/|Y| and
theta = -phase.
"""
import sys


def read(path):
    traces = {}
    letter = None
    admittance = False
    with open(path, newline='') as f:
        for line in f.read().splitlines():
            text = line.strip()
            if text.startswith('"MEASURE PARAMETER:'):
                admittance = 'ADMITTANCE' in text
            elif text.startswith('"TRACE:'):
                letter = text.split(':')[1].strip(' "')
                traces[letter] = []
            elif letter and text and text[0] in '+-.0123456789':
                fields = text.split('\t')
                traces[letter].append((float(fields[0]), float(fields[1])))
    points = []
    for (hz, a), (_, b) in zip(traces['A'], traces['B']):
        points.append((hz / 1000, 1 / a if admittance else a, -b if admittance else b))
    return sorted(points, key=lambda p: p[0])


if __name__ == '__main__':
    for point in read(sys.argv[1]):
        print(' '.join(value.hex() for value in point))
