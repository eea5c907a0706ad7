#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the bundled example study: one 1,020-bp locus with a coding region, sampled from two
populations (19 sequences each) and an outgroup (2 sequences), as examples/study.nex, and the
same groups as a "sequence,group" file, examples/study_groups.csv.

The sequences come from a small simulation: a coalescent genealogy within each population,
mutations thrown on its branches (coding changes mostly synonymous, as purifying selection
leaves them), fixed differences between the populations and a distant outgroup. It uses only
the standard library and its own random number generator, so every run with the same seed
writes the same files:

    python3 examples/make_study.py            # seed 2024
    python3 examples/make_study.py --seed 7 --out /tmp/other
"""
import argparse
import math
import os

BASES = "ACGT"
LENGTH = 1020
CDS_FROM, CDS_TO = 121, 900  # 1-based, inclusive: ATG ... stop, 260 codons
SAMPLES = 19  # per population
CODE = {}  # the standard genetic code, codon -> amino acid ('*' stop)
_AA = "FFLLSSSSYY**CC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"
for i, aa in enumerate(_AA):
    CODE["TCAG"[i // 16] + "TCAG"[i // 4 % 4] + "TCAG"[i % 4]] = aa


class Rng:
    """xorshift64*: the same numbers on every Python."""

    def __init__(self, seed):
        self.state = (seed * 2685821657736338717 + 1) & 0xFFFFFFFFFFFFFFFF or 1

    def next(self):
        x = self.state
        x ^= x >> 12
        x ^= (x << 25) & 0xFFFFFFFFFFFFFFFF
        x ^= x >> 27
        self.state = x
        return (x * 2685821657736338717) & 0xFFFFFFFFFFFFFFFF

    def uniform(self):
        return (self.next() >> 11) / float(1 << 53)

    def below(self, n):
        return int(self.uniform() * n)

    def exponential(self, rate):
        u = self.uniform()
        while u <= 0.0:
            u = self.uniform()
        return -math.log(u) / rate

    def poisson(self, mean):
        # Knuth's method is fine for the small means used here.
        limit, k, p = math.exp(-mean), 0, 1.0
        while True:
            p *= self.uniform()
            if p <= limit:
                return k
            k += 1


def ancestor(rng):
    seq = [BASES[rng.below(4)] for _ in range(LENGTH)]
    seq[CDS_FROM - 1:CDS_FROM + 2] = "ATG"
    for pos in range(CDS_FROM + 2, CDS_TO - 3, 3):  # inner codons: no stop
        while CODE["".join(seq[pos:pos + 3])] == "*":
            seq[pos:pos + 3] = [BASES[rng.below(4)] for _ in range(3)]
    seq[CDS_TO - 3:CDS_TO] = "TAA"
    return seq


def mutate(rng, seq, count):
    """count changes; in the coding region a change of amino acid is kept one time in five."""
    done = 0
    while done < count:
        pos = rng.below(LENGTH)
        new = BASES[rng.below(4)]
        if new == seq[pos] or seq[pos] == "-":
            continue
        if CDS_FROM - 1 <= pos < CDS_TO:
            start = CDS_FROM - 1 + (pos - CDS_FROM + 1) // 3 * 3
            if start < CDS_FROM + 2 or start >= CDS_TO - 3:
                continue  # start and stop codons stay
            codon = seq[start:start + 3]
            changed = codon[:]
            changed[pos - start] = new
            before, after = CODE["".join(codon)], CODE["".join(changed)]
            if after == "*" or (after != before and rng.uniform() > 0.2):
                continue
        seq[pos] = new
        done += 1


def genealogy(rng, n):
    """Kingman coalescent: (parent of each node, branch length above it), leaves 0..n-1."""
    lineages = list(range(n))
    parent, length, height = {}, {}, {k: 0.0 for k in range(n)}
    time, nxt = 0.0, n
    while len(lineages) > 1:
        k = len(lineages)
        time += rng.exponential(k * (k - 1) / 2.0)
        a = lineages.pop(rng.below(len(lineages)))
        b = lineages.pop(rng.below(len(lineages)))
        for child in (a, b):
            parent[child] = nxt
            length[child] = time - height[child]
        height[nxt] = time
        lineages.append(nxt)
        nxt += 1
    return parent, length, lineages[0]


def population(rng, founder, n, theta):
    """n sequences below a founder, theta = 4 N mu for the whole locus."""
    parent, length, root = genealogy(rng, n)
    seqs = {root: founder[:]}
    order = sorted(parent, key=lambda node: -node)  # parents are numbered above children
    for node in order:
        seq = seqs[parent[node]][:]
        mutate(rng, seq, rng.poisson(theta / 2.0 * length[node]))
        seqs[node] = seq
    return [seqs[k] for k in range(n)]


def write(out, seed):
    rng = Rng(seed)
    root = ancestor(rng)
    outgroup_base = root[:]
    mutate(rng, outgroup_base, 45)  # a distant relative: about 4% of the sites
    founders = []
    for _ in range(2):
        f = root[:]
        mutate(rng, f, 2)  # fixed differences between the populations
        founders.append(f)
    pop_a = population(rng, founders[0], SAMPLES, 12.0)
    pop_b = population(rng, founders[1], SAMPLES, 7.0)
    # A 3-letter deletion in the 3' flank of a few B sequences, and unread ends in two reads.
    for k in range(0, SAMPLES, 5):
        pop_b[k][950:953] = "---"
    for seq, n in ((pop_a[3], 12), (pop_b[7], 9)):
        seq[:n] = "N" * n
    outgroup = [outgroup_base[:], outgroup_base[:]]
    mutate(rng, outgroup[1], 3)

    names_a = ["A%02d" % (k + 1) for k in range(SAMPLES)]
    names_b = ["B%02d" % (k + 1) for k in range(SAMPLES)]
    names_o = ["Out1", "Out2"]
    rows = list(zip(names_a, pop_a)) + list(zip(names_b, pop_b)) + list(zip(names_o, outgroup))

    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "study.nex"), "w", newline="\r\n") as f:
        f.write("#NEXUS\n")
        f.write("[Example study written by examples/make_study.py, seed %d: two populations "
                "and an outgroup at one locus with a coding region, letters %d-%d]\n"
                % (seed, CDS_FROM, CDS_TO))
        f.write("BEGIN TAXA;\nDIMENSIONS NTAX=%d;\nTAXLABELS\n" % len(rows))
        for name, _ in rows:
            f.write("  %s\n" % name)
        f.write(";\nEND;\n\n")
        f.write("BEGIN CHARACTERS;\nDIMENSIONS NCHAR=%d;\n" % LENGTH)
        f.write("FORMAT DATATYPE=DNA MISSING=N GAP=-;\nMATRIX\n")
        for name, seq in rows:
            f.write("%-6s %s\n" % (name, "".join(seq)))
        f.write(";\nEND;\n\n")
        f.write("BEGIN CODONS;\nCODONPOSSET * UNTITLED =\n")
        f.write("  N: 1-%d %d-%d,\n" % (CDS_FROM - 1, CDS_TO + 1, LENGTH))
        for p in range(3):
            f.write("  %d: %d-%d\\3%s\n" % (p + 1, CDS_FROM + p, CDS_TO - 2 + p,
                                          ";" if p == 2 else ","))
        f.write("END;\n\n")
        f.write("BEGIN SETS;\n")
        f.write("  TAXSET PopA = %s;\n" % " ".join(names_a))
        f.write("  TAXSET PopB = %s;\n" % " ".join(names_b))
        f.write("  TAXSET Outgroups = %s;\n" % " ".join(names_o))
        f.write("END;\n")
    with open(os.path.join(out, "study_groups.csv"), "w", newline="\r\n") as f:
        for name in names_a:
            f.write("%s,PopA\n" % name)
        for name in names_b:
            f.write("%s,PopB\n" % name)
        for name in names_o:
            f.write("%s,Outgroups\n" % name)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=2024)
    parser.add_argument("--out", default=here, help="folder for the files (default: examples/)")
    args = parser.parse_args()
    write(args.out, args.seed)


if __name__ == "__main__":
    main()
