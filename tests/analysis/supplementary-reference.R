# Reference values of SupplementaryTest: Rscript supplementary-reference.R
# (Debian r-base-core and r-cran-ca). The staff smoking table with the
# national-average row (Greenacre) and a smokers column (light + medium +
# heavy) as supplementary.
library(ca)
f <- function(v) paste(formatC(as.vector(v), digits = 17, format = "g"), collapse = ", ")
tab <- matrix(c(4,2,3,2,7, 4,3,7,4,14, 25,10,12,4,26, 18,24,33,13,70, 10,6,7,2,15,
                42,29,20,9,58), nrow = 6, byrow = TRUE)
x <- ca(tab, nd = NA, suprow = 6, supcol = 5)
side <- function(lab, coord, dist) {
  pc <- coord[1:2] * x$sv[1:2]
  cat(lab, "std = {", f(coord[1:2]), "} pc = {", f(pc), "} dist2 =", f(dist^2),
      "cos2 = {", f(pc^2 / dist^2), "}\n")
}
side("row 6", x$rowcoord[6, ], x$rowdist[6])
side("col 5", x$colcoord[5, ], x$coldist[5])
cat("active row 1 std = {", f(x$rowcoord[1, 1:2]), "}\n")
