-- The story between levels: over the dimmed level, the plot window tells the
-- queued episodes page by page; it closes its modal when they are told.
MakeDialog
{
    name = "plot_modal",
    Bitmap
    {
        name = "plot_dim", x = 0, y = 0, w = 800, h = 600, image = "ui/plot/dim.png",
        VPlotWindow { name = "plot_window", x = 0, y = 0, w = 800, h = 600 },
    },
}
