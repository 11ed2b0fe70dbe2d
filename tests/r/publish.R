# Reference values of ResultReadingTest (and a few of ReportToolTest): Rscript tests/r/publish.R
# (Debian r-base-core and r-cran-ca), run from the source tree's top.
# For three tables: Malinvaud's test from ca()'s principal inertias, the
# standardised and adjusted residuals from chisq.test(), and the table
# reordered by the standard coordinates of dimensions 1 and 2. Also writes
# the two tables taken from R's datasets as CSV test data.
library(ca)
f <- function(v) paste(formatC(as.vector(v), digits = 17, format = "g"), collapse = ", ")
ref <- function(name, tab) {
  x <- ca(tab, nd = NA)
  ct <- suppressWarnings(chisq.test(tab, correct = FALSE))
  I <- nrow(tab); J <- ncol(tab); N <- sum(tab)
  ev <- x$sv^2
  k <- 0:(length(ev) - 1)
  chi <- sapply(k, function(k) N * sum(ev[(k + 1):length(ev)]))
  df <- (I - k - 1) * (J - k - 1)
  cat("// ", name, "\n", sep = "")
  cat("    { /* malinvaud chi2 */ { ", f(chi), " },\n", sep = "")
  cat("      /* df */ { ", paste(df, collapse = ", "), " },\n", sep = "")
  cat("      /* p */ { ", f(pchisq(chi, df, lower.tail = FALSE)), " },\n", sep = "")
  # Row-major, as Quarnet's matrices.
  cat("      /* standardized */ { ", f(t(ct$residuals)), " },\n", sep = "")
  cat("      /* adjusted */ { ", f(t(ct$stdres)), " },\n", sep = "")
  for (d in 1:2) {
    ro <- order(x$rowcoord[, d]); co <- order(x$colcoord[, d])
    pct <- 100 * tab / rowSums(tab)
    cat("      /* dim ", d, " row order, first row's coordinate */ { { ", paste(ro, collapse = ", "),
        " }, ", f(x$rowcoord[1, d]), ",\n", sep = "")
    cat("        /* column order */ { ", paste(co, collapse = ", "), " },\n", sep = "")
    cat("        /* row per cent, reordered, row-major */ { ", f(t(pct[ro, co])), " } },\n", sep = "")
  }
  cat("    },\n")
}
smoking <- matrix(c(4,2,3,2, 4,3,7,4, 25,10,12,4, 18,24,33,13, 10,6,7,2), nrow = 5, byrow = TRUE)
hairEye <- margin.table(HairEyeColor, c(2, 1))
occupation <- unclass(occupationalStatus)
writeCsv <- function(tab, file) {
  lines <- c(paste0(",", paste(colnames(tab), collapse = ",")),
             paste0(rownames(tab), ",", apply(tab, 1, paste, collapse = ",")))
  writeLines(lines, file)
}
writeCsv(hairEye, "tests/data/hair-eye-margin.csv")
writeCsv(occupation, "tests/data/occupational-status.csv")
ref("smoking", smoking)
ref("HairEyeColor, eye by hair", unclass(hairEye))
ref("occupationalStatus, origin by destination", occupation)
