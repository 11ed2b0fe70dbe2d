# Reference values for tests/core/LargeTableReferenceTest.cpp: R's own tables
# that pass 50 categories on a side (or whose totals pass 32 bits), written as
# CSV data files into tests/data, and the leading dimensions ca::ca gives
# them. Run from the repository root:  Rscript tests/r/large-tables.R
# All six tables hold whole counts; none is left out.
suppressMessages({
  library(ca); library(FactoMineR); library(vegan); library(ade4)
})
data(JO); data(BCI); data(mite); data(mortality); data(rankrock)

tables <- list(
  jo = as.matrix(JO),                       # 24 x 58
  bci = as.matrix(BCI),                     # 50 x 225
  mite = as.matrix(mite),                   # 70 x 35
  mortality = as.matrix(mortality),         # 62 x 18: 1979 and 2006 side by side
  rankrock = as.matrix(rankrock),           # 10 x 51
  worldphones = as.matrix(WorldPhones))     # 7 x 7, N = 805,303

# Names in ASCII, quoted (some hold blanks).
ascii <- function(s) paste0("\"", gsub("[,\"]", " ", iconv(s, "UTF-8", "ASCII//TRANSLIT", sub = "?")), "\"")
K <- 3
fmt <- function(v) paste(sprintf("%.17g", v), collapse = ", ")
for (name in names(tables)) {
  x <- tables[[name]]
  storage.mode(x) <- "integer"
  stopifnot(all(rowSums(x) > 0), all(colSums(x) > 0))
  lines <- c(paste(c("", ascii(colnames(x))), collapse = ","),
             apply(cbind(ascii(rownames(x)), x), 1, paste, collapse = ","))
  writeLines(lines, file.path("tests/data", paste0(name, ".csv")), sep = "\r\n")
  fit <- ca(x, nd = K)
  picks <- function(n) unique(c(1, 2, n))
  rows <- picks(nrow(x)); cols <- picks(ncol(x))
  cat(sprintf("{ \"%s\", %d, %d, { %s },\n", name, nrow(x), ncol(x), fmt(fit$sv[1:K]^2)))
  cat(sprintf("  { %s }, { %s },\n", paste(rows, collapse = ", "), paste(cols, collapse = ", ")))
  cat(sprintf("  { %s },\n", fmt(t(fit$rowcoord[rows, 1:K]))))
  cat(sprintf("  { %s } },\n", fmt(t(fit$colcoord[cols, 1:K]))))
}
