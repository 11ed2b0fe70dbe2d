# Reference values of the questionnaire analysis (tests/analysis/McaPeerTest.cpp)
# from FactoMineR::MCA and ca::mjca, and the sheets they are computed on
# (tests/data/mca/). Run from the repository's root:
#   Rscript tests/r/mca.R > /tmp/mca-reference.txt
# and paste the printed initializers into the test.
suppressMessages({ library(FactoMineR); library(ca) })
data(wg93); data(tea); data(poison); data(hobbies)
out <- "tests/data/mca"
dir.create(out, showWarnings = FALSE, recursive = TRUE)
missingLabel <- "\u7121\u56de\u7b54" # the label a missing answer's category gets

writeSheet <- function(df, file, corner = "ID") {
  df <- data.frame(lapply(df, as.character), check.names = FALSE, stringsAsFactors = FALSE)
  df[is.na(df)] <- ""
  df <- cbind(setNames(data.frame(as.character(seq_len(nrow(df)))), corner), df)
  write.csv(df, file.path(out, file), row.names = FALSE, quote = TRUE, fileEncoding = "UTF-8")
}
# Missing answers as their own category, as the analysis names it.
asCategory <- function(x) { x <- as.character(x); x[is.na(x)] <- missingLabel; factor(x) }

num <- function(v) paste(sprintf("%.17g", v), collapse = ", ")
vec <- function(v) paste0("{ ", num(v), " }")

# Category rows in the order of the indicator columns: variable by variable,
# levels in order.
catNames <- function(df) {
  do.call(rbind, lapply(names(df), function(q) data.frame(q = q, l = levels(df[[q]]))))
}

printCats <- function(label, names, coord, contrib, cos2, vtest, rows, dims) {
  cat("    // ", label, "\n", sep = "")
  for (r in rows) {
    ctr <- if (is.null(contrib)) "{}" else vec(contrib[r, 1:dims] / 100)
    cat(sprintf("    { \"%s\", \"%s\", %s, %s, %s, %s },\n", names$q[r], names$l[r],
                vec(coord[r, 1:dims]), ctr, vec(cos2[r, 1:dims]), vec(vtest[r, 1:dims])))
  }
}

reference <- function(name, res, act, dims, catRows, respondents, supRows = integer(0),
                      sup = NULL, mj = NULL, excl = NULL) {
  cat("// ", name, "\n", sep = "")
  cat("const McaReference ", name, " = {\n", sep = "")
  cat("    ", vec(res$eig[, 1]), ",\n", sep = "")
  names <- catNames(act)
  if (!is.null(excl)) names <- names[-excl, ]
  cat("    {\n")
  printCats("active", names, res$var$coord, res$var$contrib, res$var$cos2, res$var$v.test,
            catRows, dims)
  cat("    },\n    {\n")
  if (!is.null(sup))
    printCats("supplementary", catNames(sup), res$quali.sup$coord, NULL, res$quali.sup$cos2,
              res$quali.sup$v.test, supRows, dims)
  cat("    },\n    {\n")
  for (q in names(act))
    cat(sprintf("        { \"%s\", %s },\n", q, vec(res$var$eta2[q, 1:dims])))
  if (!is.null(sup))
    for (q in names(sup))
      cat(sprintf("        { \"%s\", %s },\n", q, vec(res$quali.sup$eta2[q, 1:dims])))
  cat("    },\n    {\n")
  if (!is.null(res$quanti.sup))
    for (q in rownames(res$quanti.sup$coord))
      cat(sprintf("        { \"%s\", %s },\n", q, vec(res$quanti.sup$coord[q, 1:dims])))
  cat("    },\n    {\n")
  for (i in respondents)
    cat(sprintf("        { %d, %s, %s, %s },\n", i - 1, vec(res$ind$coord[i, 1:dims]),
                vec(res$ind$contrib[i, 1:dims] / 100), vec(res$ind$cos2[i, 1:dims])))
  cat("    },\n")
  if (!is.null(mj)) {
    ind <- mjca(mj$data, lambda = "indicator")
    burt <- mjca(mj$data, lambda = "Burt")
    adj <- mjca(mj$data, lambda = "adjusted")
    cat("    ", vec(ind$sv^2), ",\n", sep = "")
    cat("    ", vec(burt$sv^2), ",\n", sep = "")
    cat("    ", vec(adj$sv^2), ",\n", sep = "")
    cat("    ", num(adj$inertia.t), ",\n", sep = "")
  } else {
    cat("    {}, {}, {}, 0,\n")
  }
  cat("};\n\n")
}

# ca's wg93: four questions, five answers each.
wg <- wg93[, 1:4]
writeSheet(wg, "wg93.csv")
res <- MCA(wg, graph = FALSE, ncp = 3)
reference("wg93", res, wg, 3, c(1, 5, 7, 13, 20), c(1, 2, 871), mj = list(data = wg))

# FactoMineR's tea: 18 active, age quantitative, 20-36 categorical supplementary.
writeSheet(tea, "tea.csv", paste0("#quarnet questionnaire supplementary=",
           paste(20:36, collapse = ","), " quantitative=19"))
res <- MCA(tea, quanti.sup = 19, quali.sup = 20:36, graph = FALSE, ncp = 3)
reference("tea", res, tea[, 1:18], 3, c(1, 6, 17, 25, 36), c(1, 150, 300),
          supRows = c(1, 4, 12, 40), sup = tea[, 20:36])

# FactoMineR's poison: 5-15 active, 1-2 quantitative, 3-4 categorical.
writeSheet(poison, "poison.csv")
res <- MCA(poison, quanti.sup = 1:2, quali.sup = 3:4, graph = FALSE, ncp = 3)
reference("poison", res, poison[, 5:15], 3, c(1, 4, 11, 22), c(1, 16, 55),
          supRows = 1:4, sup = poison[, 3:4])

# FactoMineR's hobbies: 18 active; Profession's missing answers as a category.
hob <- hobbies
hob$Profession <- asCategory(hob$Profession)
writeSheet(hobbies, "hobbies.csv")
res <- MCA(hob, quali.sup = 19:22, quanti.sup = 23, graph = FALSE, ncp = 2)
reference("hobbies", res, hob[, 1:18], 2, c(1, 2, 35, 36), c(1, 4000, 8403),
          supRows = c(1, 3, 17, 22), sup = hob[, 19:22], mj = list(data = hob[, 1:18]))

# wg93 with survey weights (the fifth column).
weights <- rep(c(1, 2, 0.5, 3), length.out = nrow(wg))
writeSheet(cbind(wg, weight = weights), "wg93-weighted.csv",
           "#quarnet questionnaire weight=5")
res <- MCA(wg, row.w = weights, graph = FALSE, ncp = 3)
reference("weighted", res, wg, 3, c(1, 5, 7, 13, 20), c(1, 2, 871))

# wg93 with missing answers left out of the analysis (specific MCA), against
# FactoMineR's excl: the eigen-decomposition of the kept categories' block of
# the standardized Burt matrix, masses from the whole table. (ca::mjca's
# subsetcat = kept categories returns other eigenvalues here, although the
# same block of its own S, eigen(S[keep, keep]), gives FactoMineR's.)
wm <- data.frame(lapply(wg, as.character), stringsAsFactors = FALSE)
wm$B[seq(3, nrow(wm), by = 7)] <- NA
wm$D[seq(5, nrow(wm), by = 11)] <- NA
writeSheet(wm, "wg93-missing.csv", "#quarnet questionnaire missing=passive")
wf <- data.frame(lapply(wm, asCategory))
names <- catNames(wf)
excl <- which(names$l == missingLabel)
res <- MCA(wf, excl = excl, graph = FALSE, ncp = 3)
reference("passive", res, wf, 3, c(1, 6, 11, 17, 20), c(1, 3, 5), excl = excl)
