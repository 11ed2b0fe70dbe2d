# Reference values of InterpretationTest: Rscript interpretation-reference.R
# (Debian r-base-core and r-cran-ca).
library(ca)
f <- function(v) paste(formatC(as.vector(v), digits = 17, format = "g"), collapse = ", ")
ref <- function(name, tab, nd) {
  x <- ca(tab, nd = NA)
  ct <- suppressWarnings(chisq.test(tab, correct = FALSE))
  cat("//", name, "\n")
  cat("chi2 =", f(ct$statistic), "; df =", ct$parameter, "; p =", f(ct$p.value), "\n")
  cat("total inertia =", f(sum(x$sv^2)), "\n")
  cat("sv = {", f(x$sv), "}\n")
  side <- function(lab, mass, inertia, dist, coord) {
    pc <- sweep(coord, 2, x$sv, "*")          # principal coordinates
    ctr <- mass * coord^2                     # summary()'s ctr, as a fraction
    cor <- pc^2 / dist^2                      # summary()'s cor
    cat(lab, "mass = {", f(mass), "}\n")
    cat(lab, "inertia = {", f(inertia), "}\n")
    for (i in seq_along(mass)) {
      cat(lab, i, "std = {", f(coord[i, 1:nd]), "} ctr = {", f(ctr[i, 1:nd]), "} cor = {",
          f(cor[i, 1:nd]), "} qlt =", f(sum(cor[i, 1:nd])), "\n")
    }
  }
  side("row", x$rowmass, x$rowinertia, x$rowdist, x$rowcoord)
  side("col", x$colmass, x$colinertia, x$coldist, x$colcoord)
}
smoking <- matrix(c(4,2,3,2, 4,3,7,4, 25,10,12,4, 18,24,33,13, 10,6,7,2), nrow = 5, byrow = TRUE)
ref("smoking", smoking, 2)
other <- matrix(c(12,5,8,20,3, 7,14,2,9,11, 3,8,15,4,6, 22,6,9,13,2, 5,17,4,8,10, 9,3,12,6,16), nrow = 6, byrow = TRUE)
ref("six by five", other, 3)
