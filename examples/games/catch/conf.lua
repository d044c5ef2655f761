title = "Catch the stars"
width, height = 800, 600
fullscreen = false
identity = "catch"
