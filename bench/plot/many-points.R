# The peer of ManyPointsPlotBench: R draws 10,000 points with their labels
# into a 1000 x 700 PNG, and into an SVG, with its own plot and text.
n <- 5000
k <- 1:n
pts <- function(side) {
  r <- 0.05 + ((0.618034 * k) %% 1)^3
  a <- 2.399963 * k + side
  data.frame(x = r * cos(a), y = r * sin(a),
             name = paste0(if (side == 0) "行カテゴリー" else "列の名前", k))
}
p <- rbind(pts(0), pts(1))
draw <- function() {
  plot(p$x, p$y, pch = rep(c(1, 0), each = n), asp = 1)
  text(p$x, p$y, p$name, cex = 0.7, pos = 3)
}
f <- tempfile()
png_times <- replicate(5, system.time({ png(f, 1000, 700); draw(); dev.off() })["elapsed"])
svg_times <- replicate(5, system.time({ svg(f, 10.4, 7.3); draw(); dev.off() })["elapsed"])
cat(sprintf("R png median %.0f ms, svg median %.0f ms\n",
            1000 * median(png_times), 1000 * median(svg_times)))
