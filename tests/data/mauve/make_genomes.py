# Makes the two genomes of pPCP.xmfa: the Yersinia pestis plasmid pPCP1 of ../NC_005816.gb and
# a rearranged copy of it (150 letters inserted after 1500, 3001..6000 inverted, 7001..7200
# deleted, 2% of letters substituted, fixed seed), each with a GFF of its CDS features.
# Then: progressiveMauve --output=pPCP.xmfa pPCP1.fa pPCP1b.fa
import os, random, re

here = os.path.dirname(os.path.abspath(__file__))
gb = open(os.path.join(here, '..', 'NC_005816.gb')).read()
seq = ''.join(re.findall(r'[acgt]+', gb.split('ORIGIN')[1])).upper()
assert len(seq) == 9609
cds = []
for m in re.finditer(r'^     CDS             (complement\()?(\d+)\.\.(\d+)\)?$', gb, re.M):
    cds.append((int(m.group(2)), int(m.group(3)), '-' if m.group(1) else '+'))
rng = random.Random(5)
comp = str.maketrans('ACGT', 'TGCA')
rc = lambda s: s.translate(comp)[::-1]
ins = ''.join(rng.choice('ACGT') for _ in range(150))
g = lambda a, b: seq[a-1:b]
g2 = g(1,1500) + ins + g(1501,3000) + rc(g(3001,6000)) + g(6001,7000) + g(7201,9609)
g2 = list(g2)
for i in range(len(g2)):
    if rng.random() < 0.02: g2[i] = rng.choice([c for c in 'ACGT' if c != g2[i]])
g2 = ''.join(g2)
def map2(p):
    if p <= 1500: return p, False
    if p <= 3000: return p + 150, False
    if p <= 6000: return 3150 + 6000 - p + 1, True
    if p <= 7000: return p + 150, False
    if p <= 7200: return None, None
    return p - 50, False
def piece(p):
    return 0 if p <= 1500 else 1 if p <= 3000 else 2 if p <= 6000 else 3 if p <= 7000 else 4 if p <= 7200 else 5
def fasta(name, s):
    return '>' + name + '\n' + '\n'.join(s[i:i+70] for i in range(0, len(s), 70)) + '\n'
def write(name, text):
    open(os.path.join(here, name), 'w').write(text)
write('pPCP1.fa', fasta('pPCP1', seq))
write('pPCP1b.fa', fasta('pPCP1b', g2))
l1, l2 = [], []
for k, (a, b, s) in enumerate(cds, 1):
    l1.append(f'pPCP1\tGenBank\tCDS\t{a}\t{b}\t.\t{s}\t0\tID=cds{k}\n')
    if piece(a) != piece(b) or piece(a) == 4: continue
    (x, flip), (y, _) = map2(a), map2(b)
    if flip: x, y, s = y, x, '+' if s == '-' else '-'
    l2.append(f'pPCP1b\tGenBank\tCDS\t{x}\t{y}\t.\t{s}\t0\tID=cds{k}\n')
write('pPCP1.gff', ''.join(l1))
write('pPCP1b.gff', ''.join(l2))
