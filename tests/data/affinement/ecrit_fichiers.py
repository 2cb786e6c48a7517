# Writes the fixture files of the small orthorhombic refinement case (kovrin.inp,
# kovrin.out, Excel_court.txt, Excel_long.txt) from their line layouts, with its
# own Fortran and Pascal field formatting. Run from this folder: python3 ecrit_fichiers.py
import math, struct
f32 = lambda x: struct.unpack('f', struct.pack('f', x))[0]

def F(x, w, d):  # Fortran Fw.d
    s = '%.*f' % (d, abs(x))
    neg = x < 0 and float(s) != 0
    if d == 0: s += '.'
    if neg: s = '-' + s
    if len(s) > w:
        z = 1 if neg else 0
        if len(s) - 1 == w and s[z:z+2] == '0.': s = s[:z] + s[z+1:]
        else: return '*' * w
    return s.rjust(w)
def I(n, w): return str(n).rjust(w)
def P(x, w, d):  # Pascal x:w:d
    s = '%.*f' % (d, abs(x)); 
    if x < 0 and float(s) != 0: s = '-' + s
    return s.rjust(w)

lam = 1.5406
titre = 'quartz.dif'
pairs = [((1,0,0), 22.218, 22.206), ((0,0,2), 29.768, 29.757), ((1,1,1), 32.297, 32.286), ((2,0,0), 45.318, 45.306)]
mesures = [22.218, 27.500, 29.768, 32.297, 45.318]
ini = [0.01, lam, 4.0, 5.0, 6.0, 90.0, 90.0, 90.0]
flags_inp = [-1.0, 0.0, 1.0, 1.0, 0, 0, 0, 0]
fin = [0.0123, 1.5406, 4.0012, 5.0021, 6.0, 90.0, 90.0, 90.0]
err = [0.0011, 0, 0.0004, 0.0006, 0, 0, 0, 0]
thc = [11.0997, 14.8783, 16.1383, 22.6459]

def write(name, lines):
    open(name, 'wb').write(b''.join(l.encode('latin-1') + b'\r\n' for l in lines))

# kovrin.inp
L = [titre, I(79, 4)]
for v, fl in zip(ini, flags_inp): L.append(P(f32(v), 8, 4) + P(fl, 8, 4))
for j in range(500):
    if j < len(pairs):
        (h, k, l), o, c = pairs[j]
        L.append(I(h, 4) + I(k, 4) + I(l, 4) + P(f32(o), 10, 4))
    else:
        L.append(I(0, 4) * 3 + P(0, 10, 4))
write('kovrin.inp', L)

# kovrin.out of a completed call, mode 2, Nref = 4, Npar = 3
def vals(v): return F(v[0],7,5)+F(v[1],9,5)+''.join(F(x,8,4) for x in v[2:5])+''.join(F(x,7,2) for x in v[5:])
tete = ' e/R(\xf8)  Lambda     a       b       c     alpha   beta  gamma'
vol = fin[2]*fin[3]*fin[4]
O = ['-'*52, titre, '-'*52, ' Number of reflections     : ' + I(4,5),
     ' Max. number of refinement cycles' + I(20,5), ' Refinement constraints    : NO   ', '',
     'Initial values    :', tete, vals(ini),
     F(1,5,0)+F(0,6,0)+F(1,9,0)+F(1,8,0)+F(0,8,0)+F(0,9,0)+F(0,7,0)+F(0,7,0), '',
     'Recipr.lattice :' + F(.25,8,4)+F(.2,8,4)+F(1/6,8,4)+F(90,7,2)*3, 'Volume (a**3)  : ' + F(120,9,3), '',
     ' Number of refinement cycles       : ' + I(3,5), '', '',
     'Final values      : (Standard errors on 2nd line)', tete, vals(fin), vals(err), '',
     'Recipr.lattice :' + F(1/fin[2],8,4)+F(1/fin[3],8,4)+F(1/fin[4],8,4)+F(90,7,2)*3,
     'Volume (a**3)  : ' + F(vol,9,3), '',
     '    H    K    L   2Th(obs)   2Th-Zero    2Th(Calc)      diff.', '']
dec = f32(fin[0])
for ((h,k,l), o, c), t in zip(pairs, thc):
    to = o/2; z = dec/2*math.cos(math.radians(to)); 
    O.append('  %s  %s  %s  ' % (I(h,3), I(k,3), I(l,3)) + ''.join(F(x,8,4)+'    ' for x in (o, 2*(to-z), 2*(t-z), 2*((to-z)-(t-z)))))
O += ['', 'Sqrt(Sum(Th O-C)**2)/(Nref-Npar)) = ' + F(0.0021,10,6), '',
      'Sqrt(Sum(2Th O-C)**2)/(Nref-Npar)) = ' + F(0.0042,10,6)]
write('kovrin.out', O)

# Excel.txt, short and long lists
T = '\t'
def ligne(nom, v):
    return nom + T + P(v[0],8,5)+T+P(v[1],8,5)+T + ''.join(P(x,8,4)+T for x in v[2:5]) + ''.join(P(x,8,3)+T for x in v[5:])
tete_x = [O[1]+T, O[3]+T, O[4]+T, O[24], '', O[29+4]+T, O[31+4]+T, '',
          T+'e/R(\xb0)'+T+'Lambda'+T+'a'+T+'b'+T+'c'+T+'alpha'+T+'beta'+T+'gamma'+T,
          ligne('Initial', ini), ligne('Final', fin), ligne('Sigmas', err), '',
          '    H\t    K\t    L\t  2T(Obs)\t  2T-Zero\t  2Th(Cal)\t   Dif\t  DoCor.\t  DCalc\t', '']
def rang(i, w):
    (h,k,l), o, c = pairs[i]
    o = f32(o); t = f32(thc[i])
    z = f32(o - dec*math.cos(o/114.5914))
    dz = lam/(2*math.sin(z/114.5916)); dc = lam/(2*math.sin(t/57.2957))
    return ''.join(I(n,4)+T for n in (h,k,l)) + ''.join(P(x,w,3)+T for x in (o, z, 2*t, z-2*t)) + P(dz,9,4)+T+P(dc,9,4)+T
write('Excel_court.txt', tete_x + [rang(i, 9) for i in range(4)])
longue = []
for m in mesures:
    i = next((i for i,p in enumerate(pairs) if abs(f32(p[1]) - m) <= 1e-4), None)
    longue.append(rang(i, 8) if i is not None else T*3 + P(m,8,3) + T)
write('Excel_long.txt', tete_x + longue)
