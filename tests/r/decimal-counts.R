# Reference values for DecimalCountsTest: ca::ca of two tables of decimal
# values, R's VADeaths (death rates per 1000) and vegan's varespec (cover
# values). Writes tests/data/vare-cover.csv and prints the values as C++
# initialisers: singular values, then per table row and column the mass,
# the inertia and the standard coordinates of dimensions 1 and 2.
#   Rscript tests/r/decimal-counts.R
library(ca)
data(varespec, package = "vegan")
write.csv(varespec, "tests/data/vare-cover.csv", fileEncoding = "UTF-8", quote = FALSE)
vec <- function(x) paste0("{ ", paste(sprintf("%.12g", x), collapse = ", "), " }")
show <- function(name, t, rows, cols) {
  fit <- ca(t)
  cat("// ", name, "\n", sep = "")
  cat("sv = ", vec(fit$sv[1:3]), ";\n", sep = "")
  cat("rowMass = ", vec(fit$rowmass[rows]), ";\n", sep = "")
  cat("rowInertia = ", vec(fit$rowinertia[rows]), ";\n", sep = "")
  cat("rowStd1 = ", vec(fit$rowcoord[rows, 1]), ";\n", sep = "")
  cat("rowStd2 = ", vec(fit$rowcoord[rows, 2]), ";\n", sep = "")
  cat("colMass = ", vec(fit$colmass[cols]), ";\n", sep = "")
  cat("colInertia = ", vec(fit$colinertia[cols]), ";\n", sep = "")
  cat("colStd1 = ", vec(fit$colcoord[cols, 1]), ";\n", sep = "")
  cat("colStd2 = ", vec(fit$colcoord[cols, 2]), ";\n", sep = "")
  cat("totalInertia = ", sprintf("%.12g", sum(fit$sv^2)), ";\n", sep = "")
  cat("chiSquare = ", sprintf("%.12g", sum(fit$sv^2) * sum(t)), ";\n", sep = "")
}
print(VADeaths)
show("VADeaths", VADeaths, 1:5, 1:4)
# The first and last five sites and species, and some in between.
show("varespec", as.matrix(varespec), c(1:5, 20:24), c(1:5, 23, 40:44))
