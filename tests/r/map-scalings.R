# Reference values for the map's scalings: plot.ca's coordinates of the
# smoking table (Greenacre's staff by smoking, the bundled example) in the
# symmetric biplot and the column contribution biplot, dimensions 1 and 2.
library(ca)
smoking <- matrix(c(4, 2, 3, 2, 4, 3, 7, 4, 25, 10, 12, 4, 18, 24, 33, 13, 10, 6, 7, 2),
                  nrow = 5, byrow = TRUE,
                  dimnames = list(c("SM", "JM", "SE", "JE", "SC"), c("none", "light", "medium", "heavy")))
fit <- ca(smoking)
pdf(NULL)
coords <- function(map) plot(fit, map = map)
options(digits = 17)
s <- coords("symbiplot")
print(s$rows[1, ]); print(s$cols[4, ])
g <- coords("colgreen")
print(g$rows[1, ]); print(g$cols[4, ])
