#!/usr/bin/python3
# Writes ten specimen files as a testing machine exports a tensile series: the
# specimen's data above the readings, quoted numbers, thousands grouped by commas,
# a unit line, and the tensile strength the machine found in the header.
import math
import random

random.seed(12)
for n in range(1, 11):
    width = 10 + random.uniform(-0.1, 0.1)
    thickness = 2 + random.uniform(-0.02, 0.02)
    area = width * thickness
    rows = []
    modulus = 40000 + random.uniform(-2000, 2000)  # MPa
    failure = 1.6 + random.uniform(-0.2, 0.2)      # % strain at break
    for i in range(0, 240):
        strain = i * failure / 200  # past the break the load falls away
        stress = modulus * strain / 100 * (1 - strain / 6) if strain <= failure else 30 * random.random()
        stress += random.gauss(0, 0.05)
        rows.append((i * 0.1, strain * 0.5, stress * area, strain, stress))
    strength = max(float(f"{r[4]:.5f}") for r in rows)  # of the readings as written
    lines = [f"Specimen number (included),{n}",
             f'Specimen ID,"S-{n:02d}"',
             f'Thickness,"{thickness:.5f}",mm',
             f'Width,"{width:.5f}",mm',
             f'Tensile stress at Tensile strength,"{strength:,.5f}",MPa',
             "",
             "Time,Extension,Load,Tensile strain (Strain 1),Tensile stress",
             "(s),(mm),(N),(%),(MPa)"]
    for t, ext, load, strain, stress in rows:
        lines.append(f'"{t:,.5f}","{ext:,.5f}","{load:,.5f}","{strain:,.5f}","{stress:,.5f}"')
    with open(f"specimen-{n}.csv", "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")
