# Compares Quarnet's resampled ellipses of a questionnaire's categories with
# FactoMineR's normal-theory confidence ellipses of the same categories'
# barycentres (coord.ellipse(bary = TRUE), what plotellipses(means = TRUE)
# draws): the covariance of the individuals' principal coordinates among the
# category's respondents over their number, drawn with the chi-square
# quantile. Both describe the spread of the mean of the category's
# respondents on axes held fixed, FactoMineR's in the individuals'
# coordinates (the category's principal coordinate times sqrt(lambda) on each
# axis), so the areas are compared after that scaling. The JSON comes from
#   quarnet-report --mca tests/data/mca/tea.csv -o /tmp/tea.txt --json /tmp/tea.json \
#       --ellipses --replicates 10000 --seed 1
#   Rscript bench/mca-ellipse-compare.R /tmp/tea.json
suppressMessages({ library(FactoMineR); library(jsonlite) })
args <- commandArgs(trailingOnly = TRUE)
quarnet <- fromJSON(args[1], simplifyVector = FALSE)$ellipses$categories
data(tea)
res <- MCA(tea, quanti.sup = 19, quali.sup = 20:36, graph = FALSE)
lambda <- res$eig[1:2, 1]
F <- res$ind$coord[, 1:2]
area <- function(p) abs(sum(p[, 1] * c(p[-1, 2], p[1, 2]) - c(p[-1, 1], p[1, 1]) * p[, 2])) / 2
ratios <- c()
for (e in quarnet) {
    question <- e$question
    level <- sub(paste0("^", question, "_"), "", e$name)
    chose <- as.character(tea[[question]]) == level
    if (sum(chose) < 2 || is.null(e$semi_axes)) next
    peer <- coord.ellipse(data.frame(f = factor(rep("k", sum(chose))), F[chose, , drop = FALSE]),
                          bary = TRUE, npoint = 4000)$res[, 2:3]
    ours <- pi * e$semi_axes[[1]] * e$semi_axes[[2]] * sqrt(lambda[1] * lambda[2])
    ratios <- c(ratios, ours / area(peer))
}
cat(sprintf("categories %d: Quarnet's area over FactoMineR's, median %.3f, quartiles %.3f-%.3f, range %.3f-%.3f\n",
            length(ratios), median(ratios), quantile(ratios, 0.25), quantile(ratios, 0.75),
            min(ratios), max(ratios)))
