title = "Balls and blinkers"
width, height = 800, 600
fullscreen = false
identity = "balls"
