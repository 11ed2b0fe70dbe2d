# Reference values of CloseDimensionsTest: python3 close-singular-values-reference.py
# (Python 3 with mpmath, Debian python3-mpmath; only this script needs it).
#
# Tables whose two leading non-trivial singular values nearly coincide, built
# from pairs of 2 x 2 tables P, Q whose correlations phi(P), phi(Q) are close
# (found by sorting the phi of a few million random 2 x 2 tables):
#  * block: P and Q on the diagonal; the singular values are 1 (the two
#    blocks), phi(P) and phi(Q), their vectors each on one block;
#  * kron: the Kronecker product P (x) Q, every cell non-zero; the singular
#    values are phi(P), phi(Q) and phi(P) phi(Q);
#  * wide: P, Q and a 3 x 4 block R on the diagonal, 7 x 8, and its transpose
#    (the cross product of the other side).
# Every value is computed with 60 significant digits: the standardised
# residuals from the counts, the cross product of the smaller side, its
# eigenpairs (mpmath.eigsy), the other side as S^T u / eta, and the scale
# values sqrt(N) u_i / sqrt(r_i). The sign is the program's: the eigenvector
# of B - lambda I found by Gaussian elimination with complete pivoting (first
# largest entry in row-by-row order) has its free component positive.
# Printed with 32 significant digits, ready to paste.
import mpmath as mp

mp.mp.dps = 60


def table2(t):
    return [[t[0], t[1]], [t[2], t[3]]]


def diag(*blocks):
    m = sum(len(b) for b in blocks)
    n = sum(len(b[0]) for b in blocks)
    T = [[0] * n for _ in range(m)]
    r0 = c0 = 0
    for b in blocks:
        for i, row in enumerate(b):
            for j, v in enumerate(row):
                T[r0 + i][c0 + j] = v
        r0 += len(b)
        c0 += len(b[0])
    return T


def kron(P, Q):
    return [[a * b for a in pr for b in qr] for pr in P for qr in Q]


def transpose(T):
    return [list(col) for col in zip(*T)]


def free_column(M):
    """The column that Gaussian elimination with complete pivoting leaves
    unpivoted after n - 1 steps (0-based)."""
    n = M.rows
    M = M.copy()
    cols = list(range(n))
    for k in range(n - 1):
        best, pr, pc = -1, k, k
        for i in range(k, n):
            for j in range(k, n):
                if abs(M[i, j]) > best:
                    best, pr, pc = abs(M[i, j]), i, j
        if pc != k:
            cols[k], cols[pc] = cols[pc], cols[k]
            for i in range(n):
                M[i, k], M[i, pc] = M[i, pc], M[i, k]
        if pr != k:
            for j in range(n):
                M[k, j], M[pr, j] = M[pr, j], M[k, j]
        for j in range(k + 1, n):
            M[k, j] = M[k, j] / M[k, k]
        for i in range(k + 1, n):
            f = M[i, k]
            for j in range(k + 1, n):
                M[i, j] = M[i, j] - f * M[k, j]
    return cols[n - 1]


def analyse(T):
    m, n = len(T), len(T[0])
    r = [sum(row) for row in T]
    c = [sum(T[i][j] for i in range(m)) for j in range(n)]
    N = sum(r)
    S = mp.matrix(m, n)
    for i in range(m):
        for j in range(n):
            S[i, j] = (mp.mpf(T[i][j]) * N - r[i] * c[j]) / (N * mp.sqrt(mp.mpf(r[i]) * c[j]))
    rows = m <= n
    A = S if rows else S.T
    B = A * A.T
    E, V = mp.eigsy(B)
    order = sorted(range(B.rows), key=lambda k: -E[k])
    dims = []
    for d in order[: min(m, n) - 1]:
        lam = E[d]
        eta = mp.sqrt(lam)
        x = [V[i, d] for i in range(B.rows)]
        shifted = B - lam * mp.eye(B.rows)
        if x[free_column(shifted)] < 0:
            x = [-v for v in x]
        y = [mp.fsum(A[i, j] * x[i] for i in range(A.rows)) / eta for j in range(A.cols)]
        u, v = (x, y) if rows else (y, x)
        dims.append(
            {
                "eta2": lam,
                "u": u,
                "row": [mp.sqrt(N) * u[i] / mp.sqrt(r[i]) for i in range(m)],
                "col": [mp.sqrt(N) * v[j] / mp.sqrt(c[j]) for j in range(n)],
            }
        )
    return dims


# The dimensions with a neighbour closer than 1e-3 (relative) but none equal
# to it: equal ones (the value 1 of three blocks) define only a plane.
def close_dims(dims):
    close, equal = set(), set()
    for d in range(len(dims) - 1):
        gap = (dims[d]["eta2"] - dims[d + 1]["eta2"]) / dims[d]["eta2"]
        if gap < mp.mpf("1e-40"):
            equal |= {d, d + 1}
        elif gap < mp.mpf("1e-3"):
            close |= {d, d + 1}
    return sorted(close - equal)


def f(v):
    if abs(v) < mp.mpf("1e-40"):  # zero but for the rounding of the eigensolver
        return "0.0L"
    return mp.nstr(v, 32, strip_zeros=False, min_fixed=-3, max_fixed=3) + "L"


def cells(T):
    return "{ " + ", ".join("{ " + ", ".join(map(str, row)) + " }" for row in T) + " }"


R = [[52, 11, 30, 7], [9, 64, 12, 40], [25, 18, 71, 6]]
CASES = [
    ("block, gap 1e-4", diag(table2((4033, 3139, 4566, 841)), table2((4731, 5114, 5588, 1597)))),
    ("block, gap 6e-14", diag(table2((3449, 4729, 1119, 4954)), table2((5960, 2767, 395, 851)))),
    ("kron, gap 9e-5", kron(table2((33, 14, 33, 2)), table2((9, 13, 44, 16)))),
    ("kron, gap 4e-10", kron(table2((30, 81, 81, 8)), table2((76, 15, 14, 58)))),
    ("kron, gap 2e-12", kron(table2((59, 69, 12, 61)), table2((86, 3, 17, 5)))),
    ("wide, gap 5e-11", diag(table2((3729, 3681, 1195, 2943)), table2((5827, 6612, 3105, 1302)), R)),
    ("repeated beside, gap 5e-13", diag(table2((1476, 6905, 6036, 4941)), table2((747, 2055, 118, 5423)), table2((1476, 6905, 6036, 4941)))),
    ("tall, gap 5e-11", transpose(diag(table2((3729, 3681, 1195, 2943)), table2((5827, 6612, 3105, 1302)), R))),
]

for name, T in CASES:
    dims = analyse(T)
    close = close_dims(dims)
    print(f'{{ "{name}", MakeTable({cells(T)}), {{ {", ".join(str(d + 1) for d in close)} }},')
    print("  { " + ", ".join(f(dims[d]["eta2"]) for d in close) + " },")
    print("  { " + ", ".join("{ " + ", ".join(f(x) for x in dims[d]["row"]) + " }" for d in close) + " },")
    print("  { " + ", ".join("{ " + ", ".join(f(x) for x in dims[d]["col"]) + " }" for d in close) + " } },")

# Repeated singular values, of which only the plane of the two row vectors is
# defined: phi(P) = phi(Q) exactly (phi^2 = 9583/38335 for both) in a
# Kronecker product, and a block twice beside a third block whose value is
# 5e-13 away (the single one is among the cases above).
REPEATED = [
    (kron(table2((12, 29, 98, 21)), table2((78, 4, 7, 7))), 1),
    (diag(table2((1476, 6905, 6036, 4941)), table2((747, 2055, 118, 5423)), table2((1476, 6905, 6036, 4941))), 4),
]
for T, d in REPEATED:
    dims = analyse(T)
    plane = (d - 1, d)
    print(f"{{ MakeTable({cells(T)}), {d},")
    print("  { " + ", ".join(f(dims[k]["eta2"]) for k in plane) + " },")
    print("  { " + ", ".join("{ " + ", ".join(f(x) for x in dims[k]["u"]) + " }" for k in plane) + " } },")

# The same tables for the big-table engine and the questionnaire analysis
# (CloseEnginesTest).
#  * kron(T, R), R the 13 x 13 table below (every Eta^2 of R below 0.0032,
#    far from those of T): T's singular values stay, with the same
#    dimension numbers, and its scale values repeat, row (t, r) taking row
#    t's. Past 50 rows and columns, so the big-table engine takes it.
#  * The questionnaire of two questions whose cross-tabulation is T, one
#    respondent per cell weighted by its count: its indicator eigenvalues are
#    (1 + eta) / 2 for each singular value eta of T, the categories' standard
#    coordinates T's scale values (rows, then columns).
# Both relations are checked here at 60 digits and the eigenvalues printed.
R13 = [[30 + ((i * i + 3 * j + i * j) % 17) for j in range(13)] for i in range(13)]


def mca(T):
    m, n = len(T), len(T[0])
    J, Q = m + n, 2
    B = mp.matrix(J, J)
    N = 0
    for i in range(m):
        for j in range(n):
            w = T[i][j]
            N += w
            for a in (i, m + j):
                for b in (i, m + j):
                    B[a, b] += w
    S = mp.matrix(J, J)
    for a in range(J):
        for b in range(J):
            S[a, b] = (B[a, b] * N - B[a, a] * B[b, b]) / (N * Q * mp.sqrt(B[a, a] * B[b, b]))
    E, V = mp.eigsy(S)
    order = sorted(range(J), key=lambda k: -E[k])
    mass = [B[a, a] / (N * Q) for a in range(J)]
    return [(E[k], [V[a, k] / mp.sqrt(mass[a]) for a in range(J)]) for k in order]


def aligned(a, b):
    """Largest difference of a and b, one sign for all."""
    return min(max(abs(x - y) for x, y in zip(a, b)), max(abs(x + y) for x, y in zip(a, b)))


print("// R13 =", cells(R13))
for name, T in CASES:
    dims = analyse(T)
    close = close_dims(dims)
    if len(T) * 13 <= 60:
        K = analyse(kron(T, R13))
        for d in close:
            assert abs(K[d]["eta2"] - dims[d]["eta2"]) < mp.mpf("1e-45")
            assert aligned(K[d]["row"], [x for x in dims[d]["row"] for _ in range(13)]) < mp.mpf("1e-40")
            assert aligned(K[d]["col"], [x for x in dims[d]["col"] for _ in range(13)]) < mp.mpf("1e-40")
    M = mca(T)
    for d in close:
        lam, coord = M[d]
        assert abs(lam - (1 + mp.sqrt(dims[d]["eta2"])) / 2) < mp.mpf("1e-45")
        assert aligned(coord, dims[d]["row"] + dims[d]["col"]) < mp.mpf("1e-40")
    print(f'// {name}: indicator eigenvalues', ", ".join(f(M[d][0]) for d in close))
